#pragma once
// What drives dialogs without a display: at each turn of a modal loop the driver says what the
// user does next; it also sees the windows come, change and go.

#include "platform/ui/button.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/window.h"

#include <optional>
#include <string>
#include <variant>

namespace platform::ui {

class dialog;
class message_box;

namespace user_action {
struct click {
    int control_id;
};
struct type_text {
    int control_id;
    std::wstring text;
};
struct select_item {
    int control_id;
    int index;
};
// Clicks the check box or radio button when its state differs.
struct set_check {
    int control_id;
    check_state state;
};
struct press {
    dialog_key key;
};
// The window's close button: the Close system command.
struct close {};
// Clicks the item of that folder in a folder tree, opening the folders above it.
struct select_folder {
    int control_id;
    std::wstring path;
};
} // namespace user_action

using driver_action =
    std::variant<user_action::click, user_action::type_text, user_action::select_item,
                 user_action::set_check, user_action::press, user_action::close,
                 user_action::select_folder>;

class driver {
public:
    virtual ~driver() = default;
    // The next thing the user does in the running modal dialog; none when the user will do
    // nothing more.
    virtual std::optional<driver_action> next_action(dialog& active) = 0;

    virtual void window_created(window&) {}
    virtual void window_changed(window&, window_change) {}
    virtual void window_destroyed(window&) {}

    // The user's answer to a message box; by default its default button, as Enter gives.
    virtual int answer_message_box(const message_box& box);
};

// Performs the action in the dialog; false when it had no effect (no such control, a control of
// another kind, or one that cannot take input). Controls are found by id among the dialog's
// descendants, shown ones first.
bool perform(dialog& active, const driver_action& action);

} // namespace platform::ui
