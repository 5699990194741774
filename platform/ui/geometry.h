#pragma once
// Rectangles in pixels, as Windows' RECT: right and bottom are outside.

namespace platform::ui {

struct rect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const rect&) const = default;
};

} // namespace platform::ui
