#pragma once
// Windows and icons of the window model, seen by the logic only as opaque handles (HWND, HICON).

#include "platform/ui/window.h"

#include <cstdint>

namespace qv {

enum class window_handle : std::uintptr_t {};
// An icon resource's ordinal in the program's resources.
enum class icon_handle : std::uintptr_t {};

inline window_handle handle_of(platform::ui::window& target) {
    return static_cast<window_handle>(reinterpret_cast<std::uintptr_t>(&target));
}

inline platform::ui::window* window_of(window_handle handle) {
    return reinterpret_cast<platform::ui::window*>(static_cast<std::uintptr_t>(handle));
}

} // namespace qv
