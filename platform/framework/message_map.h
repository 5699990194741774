#pragma once
// Message maps: each window class keeps a static table that sends commands and window messages
// to its member functions; a message its table does not handle is looked up in its base class's
// table next.

#include <cstdint>
#include <span>
#include <type_traits>

namespace platform::framework {

class CWnd;

using command_handler = void (CWnd::*)();
using sys_command_handler = void (CWnd::*)(std::uint32_t command);

enum class message_kind {
    // WM_COMMAND with a control id and notification code (ON_COMMAND, ON_BN_CLICKED, ...).
    command,
    // WM_SYSCOMMAND, every command (ON_WM_SYSCOMMAND).
    sys_command,
};

struct message_map_entry {
    message_kind kind;
    int id = 0;
    std::uint16_t code = 0;
    command_handler on_command = nullptr;
    sys_command_handler on_sys_command = nullptr;
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
    return {message_kind::command, id, code, static_cast<command_handler>(handler), nullptr};
}

template <class Window> message_map_entry on_sys_command(void (Window::*handler)(std::uint32_t)) {
    static_assert(std::is_base_of_v<CWnd, Window>);
    return {message_kind::sys_command, 0, 0, nullptr, static_cast<sys_command_handler>(handler)};
}

// The first entry for the command, searching the table and then its bases.
const message_map_entry* find_command_entry(const message_map& map, int id, std::uint16_t code);
const message_map_entry* find_sys_command_entry(const message_map& map);

} // namespace platform::framework
