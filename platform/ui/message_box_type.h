#pragma once
// The type bits of a Windows message box (MB_*), the answers (ID*), and the rules that complete a
// type before the box is shown.

#include <cstdint>

namespace platform::ui {

namespace mb {
inline constexpr std::uint32_t ok = 0x0;
inline constexpr std::uint32_t ok_cancel = 0x1;
inline constexpr std::uint32_t abort_retry_ignore = 0x2;
inline constexpr std::uint32_t yes_no_cancel = 0x3;
inline constexpr std::uint32_t yes_no = 0x4;
inline constexpr std::uint32_t retry_cancel = 0x5;
inline constexpr std::uint32_t cancel_try_continue = 0x6;
inline constexpr std::uint32_t buttons_mask = 0xF;

inline constexpr std::uint32_t icon_hand = 0x10;
inline constexpr std::uint32_t icon_question = 0x20;
inline constexpr std::uint32_t icon_exclamation = 0x30;
inline constexpr std::uint32_t icon_asterisk = 0x40;
inline constexpr std::uint32_t icon_mask = 0xF0;

inline constexpr std::uint32_t default_button2 = 0x100;
inline constexpr std::uint32_t default_button3 = 0x200;
inline constexpr std::uint32_t default_button4 = 0x300;
inline constexpr std::uint32_t default_button_mask = 0xF00;
inline constexpr std::uint32_t rtl_reading = 0x100000;
} // namespace mb

// What MessageBoxW returns: the button pressed (idok and idcancel are in styles.h).
inline constexpr int idabort = 3;
inline constexpr int idretry = 4;
inline constexpr int idignore = 5;
inline constexpr int idyes = 6;
inline constexpr int idno = 7;
inline constexpr int idtryagain = 10;
inline constexpr int idcontinue = 11;

// A type without icon bits gets the icon that fits its buttons: OK and OK/Cancel the
// exclamation, Yes/No/Cancel and Yes/No the question; other button sets stay without icon.
std::uint32_t with_default_icon(std::uint32_t type);

enum class owner_layout { no_owner, left_to_right, right_to_left };

// MB_RTLREADING is added when the owner window is laid out right to left (WS_EX_LAYOUTRTL);
// a box without owner never reads right to left.
std::uint32_t with_owner_reading_order(std::uint32_t type, owner_layout owner);

} // namespace platform::ui
