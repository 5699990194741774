#pragma once
// Static controls: text, icon, bitmap, etched line, white rectangle; a picture's image is the
// resource ordinal it shows.

#include "platform/ui/window.h"

#include <cstdint>
#include <optional>

namespace platform::ui {

enum class static_kind { text, icon, bitmap, etched_line, white_rectangle, other_rectangle };

class static_control : public window {
public:
    static_control(desktop& owner_desktop, window* parent, creation values,
                   std::optional<std::uint16_t> image);

    static_kind kind() const;

    std::optional<std::uint16_t> image() const { return image_; }
    // STM_SETIMAGE with a bitmap or icon resource.
    void set_image(std::optional<std::uint16_t> image_resource);

private:
    std::optional<std::uint16_t> image_;
};

} // namespace platform::ui
