#pragma once
// The keyboard focus, kept by the top-level dialog a window is in.

#include "platform/ui/window.h"

namespace platform::ui {

// SetFocus: false when the window is not in a dialog, or is hidden or disabled.
bool set_focus(window& target);
// GetFocus within the top-level dialog the window is in.
window* focused(window& any);

} // namespace platform::ui
