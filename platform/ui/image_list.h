#pragma once
// An image list of the model: the images' size and colour depth, and each image as the icon
// resource it was made from, so that every renderer draws it its own way.

#include <cstdint>
#include <vector>

namespace platform::ui {

struct image_list {
    int width = 0;
    int height = 0;
    // ILC_COLOR* bits.
    std::uint32_t flags = 0;
    std::vector<std::uint16_t> icons;
};

} // namespace platform::ui
