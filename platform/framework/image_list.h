#pragma once
// CImageList: images of one size and colour depth made from the program's icon resources. The
// model keeps each image as its icon resource, which the renderers draw.

#include "platform/ui/image_list.h"

#include <cstdint>
#include <memory>

namespace platform::framework {

inline constexpr std::uint32_t ILC_COLOR24 = 0x18;
inline constexpr std::uint32_t ILC_COLOR32 = 0x20;

class CImageList {
public:
    // False when the list exists already or the size is not positive.
    bool Create(int cx, int cy, std::uint32_t flags, int initial, int grow);
    // Appends the image of the program's icon resource (a group icon); its index, or -1 when
    // the list was not created or the program has no such icon.
    int Add(std::uint16_t icon_resource);
    int GetImageCount() const;

    // The model list the controls show; none before Create.
    std::shared_ptr<const platform::ui::image_list> images() const { return list_; }

private:
    std::shared_ptr<platform::ui::image_list> list_;
};

} // namespace platform::framework
