#include "platform/ui/static_control.h"

#include "platform/ui/styles.h"

namespace platform::ui {

static_control::static_control(desktop& owner_desktop, window* parent, creation values,
                               std::optional<std::uint16_t> image)
    : window(owner_desktop, parent, std::move(values)), image_(image) {}

static_kind static_control::kind() const {
    switch (style() & ss::type_mask) {
    case ss::icon:
        return static_kind::icon;
    case ss::bitmap:
        return static_kind::bitmap;
    case ss::etched_horz:
    case ss::etched_vert:
    case ss::etched_frame:
        return static_kind::etched_line;
    case ss::white_rect:
        return static_kind::white_rectangle;
    case ss::black_rect:
    case ss::gray_rect:
        return static_kind::other_rectangle;
    default:
        return static_kind::text;
    }
}

void static_control::set_image(std::optional<std::uint16_t> image_resource) {
    image_ = image_resource;
    changed(window_change::state);
}

} // namespace platform::ui
