#include "platform/ui/dialog.h"

#include "platform/ui/button.h"
#include "platform/ui/styles.h"

namespace platform::ui {

namespace {

window* find_control_where(window& ancestor, int id, bool shown_only) {
    for (const auto& child : ancestor.children()) {
        if (shown_only && !child->is_visible())
            continue;
        if (child->id() == id)
            return child.get();
        if (window* found = find_control_where(*child, id, shown_only))
            return found;
    }
    return nullptr;
}

} // namespace

window* find_control(window& ancestor, int id) {
    if (window* shown = find_control_where(ancestor, id, true))
        return shown;
    return find_control_where(ancestor, id, false);
}

dialog::dialog(desktop& owner_desktop, window* parent, creation values)
    : window(owner_desktop, parent, std::move(values)), menu_(system_menu::for_style(style())) {}

void dialog::set_icon(icon_size size, std::optional<std::uint16_t> icon_resource) {
    (size == icon_size::big ? big_icon_ : small_icon_) = icon_resource;
    changed(window_change::state);
}

std::optional<std::uint16_t> dialog::icon(icon_size size) const {
    return size == icon_size::big ? big_icon_ : small_icon_;
}

bool dialog::set_focus(window& target) {
    if (&target.root() != this || !target.can_take_focus())
        return false;
    if (focus_ == &target)
        return true;
    focus_ = &target;
    changed(window_change::focus);
    return true;
}

void dialog::clear_focus() {
    if (!focus_)
        return;
    focus_ = nullptr;
    changed(window_change::focus);
}

void dialog::set_default_id(int id) {
    if (default_id_) {
        if (auto* old = dynamic_cast<button*>(find_control(*this, *default_id_));
            old && old->kind() == button_kind::default_push)
            old->set_kind(button_kind::push);
    }
    if (auto* now = dynamic_cast<button*>(find_control(*this, id));
        now && now->kind() == button_kind::push)
        now->set_kind(button_kind::default_push);
    default_id_ = id;
    changed(window_change::state);
}

bool dialog::right_to_left() const {
    return (ex_style() & ws_ex::layout_rtl) != 0;
}

void dialog::command(int id, std::uint16_t notification) {
    if (handler_)
        handler_->command(*this, id, notification);
}

void dialog::system_command(std::uint32_t command) {
    if (handler_ && handler_->system_command(*this, command))
        return;
    default_system_command(command);
}

void dialog::default_system_command(std::uint32_t command) {
    // The low four bits are the system's own.
    switch (command & 0xFFF0) {
    case sc::close:
        this->command(idcancel, notify::bn_clicked);
        break;
    case sc::minimize:
        set_minimized(true);
        break;
    case sc::restore:
        set_minimized(false);
        break;
    default:
        break;
    }
}

void dialog::set_minimized(bool minimized) {
    if (minimized_ == minimized)
        return;
    minimized_ = minimized;
    changed(window_change::state);
}

const system_menu& dialog::open_system_menu() {
    if (handler_)
        handler_->init_system_menu(*this, menu_);
    return menu_;
}

bool dialog::choose_system_menu_item(std::uint32_t command) {
    const menu_item* item = open_system_menu().find(command);
    if (!item || item->state == menu_item_state::grayed)
        return false;
    system_command(command);
    return true;
}

min_max_info dialog::query_min_max_info(min_max_info proposal) {
    if (handler_)
        handler_->get_min_max_info(*this, proposal);
    return proposal;
}

void dialog::end(std::intptr_t result) {
    ended_ = true;
    result_ = result;
}

} // namespace platform::ui
