#include "platform/ui/keyboard.h"

#include "platform/ui/button.h"
#include "platform/ui/edit.h"
#include "platform/ui/styles.h"

#include <algorithm>

namespace platform::ui {

namespace {

void collect_tab_stops(window& container, std::vector<window*>& stops) {
    for (const auto& child : container.children()) {
        if ((child->ex_style() & ws_ex::control_parent) && !child->children().empty()) {
            if (child->can_take_focus())
                collect_tab_stops(*child, stops);
        } else if ((child->style() & ws::tabstop) && child->can_take_focus()) {
            stops.push_back(child.get());
        }
    }
}

void press_enter(dialog& top) {
    if (auto* focused_button = dynamic_cast<button*>(top.focus());
        focused_button && (focused_button->kind() == button_kind::push ||
                           focused_button->kind() == button_kind::default_push)) {
        top.command(focused_button->id(), notify::bn_clicked);
        return;
    }
    const auto default_id = top.default_id();
    if (!default_id) {
        top.command(idok, notify::bn_clicked);
        return;
    }
    if (window* default_button = find_control(top, *default_id);
        default_button && !default_button->is_enabled())
        return;
    top.command(*default_id, notify::bn_clicked);
}

void move_focus(dialog& top, int step) {
    const std::vector<window*> stops = tab_order(top);
    if (stops.empty())
        return;
    const auto count = static_cast<int>(stops.size());
    const auto current = std::find(stops.begin(), stops.end(), top.focus());
    int next = 0;
    if (current != stops.end())
        next = (static_cast<int>(current - stops.begin()) + step + count) % count;
    else if (step < 0)
        next = count - 1;
    window& target = *stops[static_cast<std::size_t>(next)];
    // Tabbing into an edit selects all of its text.
    if (auto* edit_box = dynamic_cast<edit*>(&target))
        edit_box->set_selection(0, -1);
    top.set_focus(target);
}

// The siblings of the control's group: from the nearest one at or before it with WS_GROUP up to,
// not including, the next one with WS_GROUP.
std::vector<window*> group_of(window& control) {
    std::vector<window*> group;
    for (const auto& sibling : control.parent()->children()) {
        if (sibling->style() & ws::group) {
            if (std::find(group.begin(), group.end(), &control) != group.end())
                break;
            group.clear();
        }
        group.push_back(sibling.get());
    }
    return group;
}

void move_in_group(dialog& top, int step) {
    auto* focused = dynamic_cast<button*>(top.focus());
    if (!focused || !focused->parent())
        return;
    const std::vector<window*> group = group_of(*focused);
    const auto count = static_cast<int>(group.size());
    const auto at =
        static_cast<int>(std::find(group.begin(), group.end(), focused) - group.begin());
    for (int moved = 1; moved < count; ++moved) {
        window& target =
            *group[static_cast<std::size_t>((at + moved * step + count * count) % count)];
        if (!target.can_take_focus())
            continue;
        if (auto* radio = dynamic_cast<button*>(&target);
            radio && radio->kind() == button_kind::radio && radio->is_automatic())
            radio->click();
        else
            top.set_focus(target);
        return;
    }
}

} // namespace

std::vector<window*> tab_order(dialog& top) {
    std::vector<window*> stops;
    collect_tab_stops(top, stops);
    return stops;
}

void press_key(dialog& top, dialog_key key) {
    switch (key) {
    case dialog_key::enter:
        press_enter(top);
        break;
    case dialog_key::escape:
        top.command(idcancel, notify::bn_clicked);
        break;
    case dialog_key::tab:
        move_focus(top, 1);
        break;
    case dialog_key::shift_tab:
        move_focus(top, -1);
        break;
    case dialog_key::next_in_group:
        move_in_group(top, 1);
        break;
    case dialog_key::previous_in_group:
        move_in_group(top, -1);
        break;
    }
}

} // namespace platform::ui
