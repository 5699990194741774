#include "platform/ui/system_menu.h"

#include "platform/ui/styles.h"

#include <algorithm>
#include <utility>

namespace platform::ui {

system_menu system_menu::for_style(std::uint32_t style) {
    system_menu menu;
    const bool sizable = (style & ws::thickframe) != 0;
    const bool minimizable = (style & ws::minimizebox) != 0;
    const bool maximizable = (style & ws::maximizebox) != 0;
    // A window that is neither minimized nor maximized cannot be restored.
    if (minimizable || maximizable) {
        menu.append(sc::restore, L"&Restore");
        menu.set_state(sc::restore, menu_item_state::grayed);
    }
    menu.append(sc::move, L"&Move");
    if (sizable)
        menu.append(sc::size, L"&Size");
    if (minimizable)
        menu.append(sc::minimize, L"Mi&nimize");
    if (maximizable)
        menu.append(sc::maximize, L"Ma&ximize");
    menu.append_separator();
    menu.append(sc::close, L"&Close\tAlt+F4");
    return menu;
}

const menu_item* system_menu::find(std::uint32_t command) const {
    const auto it = std::find_if(items_.begin(), items_.end(), [&](const menu_item& item) {
        return item.kind == menu_item_kind::command && item.command == command;
    });
    return it == items_.end() ? nullptr : &*it;
}

menu_item* system_menu::find_item(std::uint32_t command) {
    return const_cast<menu_item*>(std::as_const(*this).find(command));
}

void system_menu::append_separator() {
    items_.push_back({menu_item_kind::separator, 0, {}, menu_item_state::enabled});
}

void system_menu::append(std::uint32_t command, std::wstring text) {
    items_.push_back({menu_item_kind::command, command, std::move(text), menu_item_state::enabled});
}

bool system_menu::remove(std::uint32_t command) {
    const menu_item* item = find(command);
    if (!item)
        return false;
    items_.erase(items_.begin() + (item - items_.data()));
    return true;
}

std::optional<menu_item_state> system_menu::set_state(std::uint32_t command,
                                                      menu_item_state state) {
    menu_item* item = find_item(command);
    if (!item)
        return std::nullopt;
    return std::exchange(item->state, state);
}

bool system_menu::set_text(std::uint32_t command, std::wstring text) {
    menu_item* item = find_item(command);
    if (!item)
        return false;
    item->text = std::move(text);
    return true;
}

bool system_menu::modify(std::uint32_t command, std::uint32_t new_command, std::wstring text) {
    menu_item* item = find_item(command);
    if (!item)
        return false;
    item->command = new_command;
    item->text = std::move(text);
    return true;
}

} // namespace platform::ui
