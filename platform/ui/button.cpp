#include "platform/ui/button.h"

#include "platform/ui/dialog.h"
#include "platform/ui/focus.h"
#include "platform/ui/styles.h"

namespace platform::ui {

button::button(desktop& owner_desktop, window* parent, creation values)
    : window(owner_desktop, parent, std::move(values)) {}

button_kind button::kind() const {
    switch (style() & bs::type_mask) {
    case bs::def_push_button:
        return button_kind::default_push;
    case bs::check_box:
    case bs::auto_check_box:
    case bs::three_state:
    case bs::auto_three_state:
        return button_kind::check_box;
    case bs::radio_button:
    case bs::auto_radio_button:
        return button_kind::radio;
    case bs::group_box:
        return button_kind::group_box;
    default:
        return button_kind::push;
    }
}

void button::set_kind(button_kind kind) {
    if (kind != button_kind::push && kind != button_kind::default_push)
        return;
    const std::uint32_t type = kind == button_kind::push ? bs::push_button : bs::def_push_button;
    set_style((style() & ~bs::type_mask) | type);
}

bool button::is_automatic() const {
    const std::uint32_t type = style() & bs::type_mask;
    return type == bs::auto_check_box || type == bs::auto_three_state ||
           type == bs::auto_radio_button;
}

void button::set_check(check_state state) {
    if (state == check_)
        return;
    check_ = state;
    changed(window_change::state);
}

void button::check_in_group() {
    // The group runs from the nearest sibling at or before this one with WS_GROUP to the next
    // sibling with WS_GROUP.
    const auto& siblings = parent()->children();
    std::size_t self = 0;
    while (siblings[self].get() != this)
        ++self;
    std::size_t first = self;
    while (first > 0 && !(siblings[first]->style() & ws::group))
        --first;
    for (std::size_t i = first; i < siblings.size(); ++i) {
        if (i > first && (siblings[i]->style() & ws::group))
            break;
        auto* other = dynamic_cast<button*>(siblings[i].get());
        if (other && other != this && other->kind() == button_kind::radio && other->is_automatic())
            other->set_check(check_state::unchecked);
    }
    set_check(check_state::checked);
}

bool button::click() {
    if (!can_take_focus())
        return false;
    if (is_automatic()) {
        if (kind() == button_kind::radio)
            check_in_group();
        else if ((style() & bs::type_mask) == bs::auto_three_state)
            set_check(check_ == check_state::unchecked ? check_state::checked
                      : check_ == check_state::checked ? check_state::indeterminate
                                                       : check_state::unchecked);
        else
            set_check(check_ == check_state::checked ? check_state::unchecked
                                                     : check_state::checked);
    }
    set_focus(*this);
    if (auto* owner = dynamic_cast<dialog*>(parent()))
        owner->command(id(), notify::bn_clicked);
    return true;
}

} // namespace platform::ui
