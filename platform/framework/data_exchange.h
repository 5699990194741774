#pragma once
// Dialog data exchange: moving values between a dialog's controls and its members, in either
// direction, with checks that refuse a saved value and keep the dialog open.

#include "platform/framework/wnd.h"
#include "platform/os/error.h"
#include "platform/ui/edit.h"

#include <string>
#include <system_error>

namespace platform::framework {

// Ends a data exchange that a check refused; UpdateData reports it as false.
class data_exchange_failure : public std::system_error {
public:
    data_exchange_failure()
        : std::system_error(make_error_code(platform::os::win32_error::invalid_data),
                            "data exchange refused") {}
};

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool save_and_validate)
        : m_bSaveAndValidate(save_and_validate), m_pDlgWnd(dialog) {}

    // Saving controls into members (true) or loading them (false).
    bool m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The dialog's control with this id, which a failure from now on points at; a missing
    // control fails the exchange.
    platform::ui::window& PrepareCtrl(int id);
    // The same for an edit, whose text a failure selects.
    platform::ui::window& PrepareEditCtrl(int id);
    // The control prepared last when it is an edit.
    platform::ui::edit* last_edit() const;

    // Refuses the exchange: when saving, the control prepared last gets the focus (an edit with
    // all its text selected).
    [[noreturn]] void Fail();

private:
    platform::ui::window* last_control_ = nullptr;
    bool last_is_edit_ = false;
};

// Attaches the control object to the control with this id, once.
void DDX_Control(CDataExchange* exchange, int id, CWnd& control);
// An edit's (or any window's) text.
void DDX_Text(CDataExchange* exchange, int id, std::wstring& value);
// A decimal integer; saving text that is not one shows "Please enter an integer." and fails.
void DDX_Text(CDataExchange* exchange, int id, int& value);
// A check box's state: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(CDataExchange* exchange, int id, int& value);
// The index of the checked radio button among the radio buttons of the group that starts at the
// id (up to the next control with WS_GROUP); -1 when none is checked.
void DDX_Radio(CDataExchange* exchange, int id, int& value);
// Saving: a text longer than the limit (in UTF-16 units, as Windows counts) shows "Enter no more
// than %1 characters." and fails. Loading: limits the edit prepared last to that many characters.
void DDV_MaxChars(CDataExchange* exchange, const std::wstring& value, int limit);

} // namespace platform::framework
