#pragma once
// Modal loops and message pumping.

#include "platform/os/result.h"
#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"

#include <cstdint>

namespace platform::ui {

// DialogBox's loop: shows the dialog, disables its owner while it runs, hands the renderer one
// turn at a time until the dialog ends (EndDialog), then hides it, enables the owner again and
// returns the result. A dialog ended before the loop starts returns at once. When the renderer
// will get no more input before the dialog ends, the loop gives up with ERROR_CANCELLED.
platform::os::result<std::intptr_t> run_modal(dialog& modal);

// Handles whatever input is pending and returns (PeekMessage/DispatchMessage until none).
void pump_messages(desktop& session);

} // namespace platform::ui
