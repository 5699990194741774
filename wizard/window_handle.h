#pragma once
// Windows and icons of the window model, seen by the logic only as opaque handles (HWND, HICON).

#include <cstdint>

namespace qv {

enum class window_handle : std::uintptr_t {};
enum class icon_handle : std::uintptr_t {};

} // namespace qv
