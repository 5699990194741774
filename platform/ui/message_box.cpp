#include "platform/ui/message_box.h"

#include "platform/ui/disabled_window.h"
#include "platform/ui/styles.h"

namespace platform::ui {

std::vector<int> message_box::answers() const {
    switch (type_ & mb::buttons_mask) {
    case mb::ok_cancel:
        return {idok, idcancel};
    case mb::abort_retry_ignore:
        return {idabort, idretry, idignore};
    case mb::yes_no_cancel:
        return {idyes, idno, idcancel};
    case mb::yes_no:
        return {idyes, idno};
    case mb::retry_cancel:
        return {idretry, idcancel};
    case mb::cancel_try_continue:
        return {idcancel, idtryagain, idcontinue};
    default:
        return {idok};
    }
}

int message_box::default_answer() const {
    const auto buttons = answers();
    const std::size_t index = (type_ & mb::default_button_mask) >> 8;
    return index < buttons.size() ? buttons[index] : buttons.front();
}

int show_message_box(desktop& session, const message_box& box) {
    disabled_window owner(box.owner());
    return session.view().show_message_box(box);
}

} // namespace platform::ui
