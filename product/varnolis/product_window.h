#pragma once
// The product's main window: what runs while the user works with the program.

#include "product/varnolis/termination_signals.h"

#include <string_view>

namespace varnolis {

enum class window_run { closed, no_display };

// Shows a window with the title until the user closes it or a termination signal arrives.
// no_display, without showing anything, when neither DISPLAY nor WAYLAND_DISPLAY is set or GTK
// cannot open the display.
window_run run_product_window(std::wstring_view title, const termination_signals& signals);

} // namespace varnolis
