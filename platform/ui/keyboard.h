#pragma once
// The dialog keys IsDialogMessageW handles: Enter, Esc, Tab, Shift+Tab and the arrow keys.

#include "platform/ui/dialog.h"

#include <vector>

namespace platform::ui {

enum class dialog_key {
    enter,
    escape,
    tab,
    shift_tab,
    // Down or Right, and Up or Left.
    next_in_group,
    previous_in_group,
};

// A key pressed in a top-level dialog.
// Enter: a focused push button sends its own id; otherwise the default button's id (nothing when
// that button is disabled), or IDOK when there is no default button. Esc sends IDCANCEL. Both
// reach the top-level dialog's handler with BN_CLICKED.
// Tab and Shift+Tab move the focus to the next or previous control that has WS_TABSTOP and can
// take the focus, wrapping around; an edit reached so has all its text selected.
// The arrow keys, with a button focused, move the focus to the next or previous control of its
// group (its siblings from one with WS_GROUP up to the next one) that can take the focus,
// wrapping around inside the group; an automatic radio button reached so is clicked, so that the
// choice follows the focus. With another control focused they do nothing here: edits and lists
// use them themselves.
void press_key(dialog& top, dialog_key key);

// The controls Tab visits, in order: the dialog's descendants depth first, through child dialogs
// with WS_EX_CONTROLPARENT that are shown and enabled.
std::vector<window*> tab_order(dialog& top);

} // namespace platform::ui
