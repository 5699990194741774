#pragma once
// Dialog units to pixels. The dialog font's base units are fixed at 6 × 13 pixels (an 8-point
// font at 96 dpi), so every dialog converts the same way.

#include "platform/ui/geometry.h"

namespace platform::ui {

inline constexpr int base_unit_x = 6;
inline constexpr int base_unit_y = 13;

// MulDiv: a × b / c rounded to the nearest integer, halves away from zero.
int mul_div(int a, int b, int c);

int horizontal_dialog_units_to_pixels(int x);
int vertical_dialog_units_to_pixels(int y);

// A control's rectangle as dialog creation makes it: position and size converted each on its own.
rect dialog_units_to_pixels(int x, int y, int cx, int cy);

} // namespace platform::ui
