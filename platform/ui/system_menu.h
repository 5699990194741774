#pragma once
// A window's system menu: commands with texts and grayed states, and separators, edited by
// command id as AppendMenuW, DeleteMenu, EnableMenuItem and ModifyMenuW with MF_BYCOMMAND do.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

enum class menu_item_kind { command, separator };
enum class menu_item_state { enabled, grayed };

struct menu_item {
    menu_item_kind kind = menu_item_kind::command;
    std::uint32_t command = 0;
    std::wstring text;
    menu_item_state state = menu_item_state::enabled;
};

class system_menu {
public:
    // The menu Windows gives a window of this style: Move and Close, and Restore, Size,
    // Minimize and Maximize as far as the frame allows them.
    static system_menu for_style(std::uint32_t style);

    const std::vector<menu_item>& items() const { return items_; }
    const menu_item* find(std::uint32_t command) const;

    void append_separator();
    void append(std::uint32_t command, std::wstring text);
    // False when no item has the command.
    bool remove(std::uint32_t command);
    // The item's earlier state; none when no item has the command.
    std::optional<menu_item_state> set_state(std::uint32_t command, menu_item_state state);
    bool set_text(std::uint32_t command, std::wstring text);
    // ModifyMenuW with a string item: the item takes the new command and text.
    bool modify(std::uint32_t command, std::uint32_t new_command, std::wstring text);

private:
    menu_item* find_item(std::uint32_t command);

    std::vector<menu_item> items_;
};

} // namespace platform::ui
