#pragma once
// Message maps: each window class keeps a static table that sends commands and window messages
// to its member functions; a message its table does not handle is looked up in its base class's
// table next.

#include "platform/ui/min_max_info.h"

#include <cstdint>
#include <span>
#include <type_traits>

namespace platform::framework {

class CWnd;

using command_handler = void (CWnd::*)();
using sys_command_handler = void (CWnd::*)(std::uint32_t command);
using MINMAXINFO = platform::ui::min_max_info;
using min_max_info_handler = void (CWnd::*)(MINMAXINFO* info);
class CMenu;
using init_menu_popup_handler = void (CWnd::*)(CMenu* popup, unsigned index, bool system_menu);

enum class message_kind {
    // WM_COMMAND with a control id and notification code (ON_COMMAND, ON_BN_CLICKED, ...).
    command,
    // WM_SYSCOMMAND, every command (ON_WM_SYSCOMMAND).
    sys_command,
    // WM_GETMINMAXINFO (ON_WM_GETMINMAXINFO).
    get_min_max_info,
    // WM_INITMENUPOPUP (ON_WM_INITMENUPOPUP).
    init_menu_popup,
};

struct message_map_entry {
    message_kind kind;
    int id = 0;
    std::uint16_t code = 0;
    command_handler on_command = nullptr;
    sys_command_handler on_sys_command = nullptr;
    min_max_info_handler on_get_min_max_info = nullptr;
    init_menu_popup_handler on_init_menu_popup = nullptr;
};

struct message_map {
    // The base class's table; none for the root.
    const message_map* base;
    std::span<const message_map_entry> entries;
};

// A derived class's member function stands for a CWnd one: the table is consulted only for
// objects of that class, as the class library's own tables are.
template <class Window>
message_map_entry on_command(int id, std::uint16_t code, void (Window::*handler)()) {
    static_assert(std::is_base_of_v<CWnd, Window>);
    return {message_kind::command, id, code, static_cast<command_handler>(handler)};
}

template <class Window> message_map_entry on_sys_command(void (Window::*handler)(std::uint32_t)) {
    static_assert(std::is_base_of_v<CWnd, Window>);
    return {message_kind::sys_command, 0, 0, nullptr, static_cast<sys_command_handler>(handler)};
}

template <class Window>
message_map_entry on_get_min_max_info(void (Window::*handler)(MINMAXINFO*)) {
    static_assert(std::is_base_of_v<CWnd, Window>);
    return {message_kind::get_min_max_info,
            0,
            0,
            nullptr,
            nullptr,
            static_cast<min_max_info_handler>(handler)};
}

template <class Window>
message_map_entry on_init_menu_popup(void (Window::*handler)(CMenu*, unsigned, bool)) {
    static_assert(std::is_base_of_v<CWnd, Window>);
    return {message_kind::init_menu_popup,
            0,
            0,
            nullptr,
            nullptr,
            nullptr,
            static_cast<init_menu_popup_handler>(handler)};
}

// The first entry for the command, searching the table and then its bases.
const message_map_entry* find_command_entry(const message_map& map, int id, std::uint16_t code);
// The first entry for a window message (not a command) of that kind.
const message_map_entry* find_message_entry(const message_map& map, message_kind kind);

} // namespace platform::framework
