#include "platform/ui/dialog_units.h"

#include <cstdint>

namespace platform::ui {

int mul_div(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

int horizontal_dialog_units_to_pixels(int x) {
    return mul_div(x, base_unit_x, 4);
}

int vertical_dialog_units_to_pixels(int y) {
    return mul_div(y, base_unit_y, 8);
}

rect dialog_units_to_pixels(int x, int y, int cx, int cy) {
    const int left = horizontal_dialog_units_to_pixels(x);
    const int top = vertical_dialog_units_to_pixels(y);
    return {left, top, left + horizontal_dialog_units_to_pixels(cx),
            top + vertical_dialog_units_to_pixels(cy)};
}

} // namespace platform::ui
