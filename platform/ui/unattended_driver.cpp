#include "platform/ui/unattended_driver.h"

#include "platform/os/unicode.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/styles.h"

#include <algorithm>
#include <cstdint>

namespace platform::ui {
namespace {

// The page a frame shows: its shown child dialog; the dialog itself when it has none.
const window& shown_page(const dialog& active) {
    for (const auto& child : active.children())
        if (child->is_visible() && dynamic_cast<const dialog*>(child.get()))
            return *child;
    return active;
}

std::wstring without_carriage_returns(std::wstring text) {
    std::erase(text, L'\r');
    return text;
}

bool is_log(const window& control) {
    const auto* box = dynamic_cast<const edit*>(&control);
    return box && box->is_multiline() && box->is_read_only();
}

std::wstring control_text(const window& control) {
    if (const auto* box = dynamic_cast<const button*>(&control)) {
        switch (box->kind()) {
        case button_kind::check_box:
            return (box->check() == check_state::checked ? L"[x] " : L"[ ] ") + box->text();
        case button_kind::radio:
            return (box->check() == check_state::checked ? L"(*) " : L"( ) ") + box->text();
        case button_kind::group_box:
            return box->text();
        case button_kind::push:
        case button_kind::default_push:
            return {};
        }
    }
    if (const auto* list = dynamic_cast<const combo_box_ex*>(&control)) {
        const int selected = list->selection();
        return selected < 0 ? L"[ ]" : L"[" + list->items()[selected].text + L" v]";
    }
    if (dynamic_cast<const edit*>(&control))
        return L"[" + control.text() + L"]";
    return control.text();
}

// The dialog's push buttons as "< Back | Next > | Cancel", the disabled ones in parentheses.
std::wstring button_row(const dialog& active) {
    std::wstring row;
    for (const auto& child : active.children()) {
        const auto* box = dynamic_cast<const button*>(child.get());
        if (!box || !box->is_visible() ||
            (box->kind() != button_kind::push && box->kind() != button_kind::default_push))
            continue;
        if (!row.empty())
            row += L" | ";
        row += box->is_enabled() ? box->text() : L"(" + box->text() + L")";
    }
    return row;
}

// What the user reads on the dialog, logs apart: they are printed as they grow.
std::wstring view_of(const dialog& active, const window& page) {
    std::wstring view = active.title() + L'\n';
    for (const auto& child : page.children())
        if (child->is_visible() && !is_log(*child))
            view += control_text(*child) + L'\n';
    return view + button_row(active);
}

} // namespace

std::optional<driver_action> unattended_driver::next_action(dialog& active) {
    const window& page = shown_page(active);
    if (const std::wstring view = view_of(active, page); view != last_view_) {
        print_dialog(active, page);
        last_view_ = view;
    }
    // Going on counts as done when it led to another page or changed what the buttons offer;
    // a step that failed leaves both as they were, and is not tried again.
    const std::wstring place =
        std::to_wstring(reinterpret_cast<std::uintptr_t>(&page)) + L'\n' + button_row(active);
    if (place != last_place_) {
        last_place_ = place;
        attempts_ = 0;
    }
    switch (attempts_++) {
    case 0:
        return user_action::press{dialog_key::enter};
    case 1:
        return user_action::press{dialog_key::escape};
    default:
        print_line(L"(nothing more to do: the run ends here)");
        return std::nullopt;
    }
}

void unattended_driver::print_dialog(const dialog& active, const window& page) {
    print_line(L"== " + active.title() + L" ==");
    for (const auto& child : page.children()) {
        if (!child->is_visible())
            continue;
        if (is_log(*child)) {
            // A log is printed as it grows: shown again, only what is new.
            std::wstring& printed = logs_[child.get()];
            if (printed != child->text())
                print_line(without_carriage_returns(child->text()));
            printed = child->text();
            continue;
        }
        if (const std::wstring text = control_text(*child); !text.empty())
            print_line(text);
    }
    print_line(L"-- " + button_row(active));
}

void unattended_driver::window_changed(window& changed, window_change change) {
    if (change != window_change::text || !is_log(changed) || !changed.is_shown())
        return;
    std::wstring& printed = logs_[&changed];
    const std::wstring& now = changed.text();
    // Only what was added: a log that was replaced is printed whole.
    const bool grew = now.size() >= printed.size() && now.compare(0, printed.size(), printed) == 0;
    const std::wstring added = grew ? now.substr(printed.size()) : now;
    printed = now;
    // A step's text comes first and its outcome later on the same line, so nothing waits for
    // the line's end.
    out_ << os::to_utf8(without_carriage_returns(added)) << std::flush;
}

void unattended_driver::window_destroyed(window& destroyed) {
    logs_.erase(&destroyed);
}

int unattended_driver::answer_message_box(const message_box& box) {
    const std::vector<int> answers = box.answers();
    int answer = answers.empty() ? idok : answers.front();
    for (const int cancelling : {idcancel, idno, idabort}) {
        if (std::find(answers.begin(), answers.end(), cancelling) != answers.end()) {
            answer = cancelling;
            break;
        }
    }
    print_line(L"[" + box.caption() + L"] " + box.text());
    return answer;
}

void unattended_driver::print_line(const std::wstring& text) {
    out_ << os::to_utf8(text) << '\n' << std::flush;
}

} // namespace platform::ui
