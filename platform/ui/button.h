#pragma once
// Button controls: push, default push, check box, radio button and group box, with their check
// state. The kind lives in the style's low bits, as BS_* does.

#include "platform/ui/window.h"

namespace platform::ui {

enum class button_kind { push, default_push, check_box, radio, group_box };
enum class check_state { unchecked, checked, indeterminate };

class button : public window {
public:
    button(desktop& owner_desktop, window* parent, creation values);

    button_kind kind() const;
    // BM_SETSTYLE between push and default push (DM_SETDEFID does this).
    void set_kind(button_kind kind);
    // Whether clicking changes the check state itself (BS_AUTOCHECKBOX, BS_AUTO3STATE,
    // BS_AUTORADIOBUTTON).
    bool is_automatic() const;

    check_state check() const { return check_; }
    // BM_SETCHECK: no notification.
    void set_check(check_state state);

    // A click by the user: ignored when the button cannot take input; an automatic check box
    // toggles, an automatic radio button becomes the checked one of its group; the button takes
    // the focus and its parent dialog gets BN_CLICKED. False when ignored.
    bool click();

private:
    void check_in_group();

    check_state check_ = check_state::unchecked;
};

} // namespace platform::ui
