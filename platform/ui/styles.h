#pragma once
// Window and control styles, notification codes and command ids, with Windows' values.

#include <cstdint>

namespace platform::ui {

namespace ws {
inline constexpr std::uint32_t popup = 0x80000000;
inline constexpr std::uint32_t child = 0x40000000;
inline constexpr std::uint32_t visible = 0x10000000;
inline constexpr std::uint32_t disabled = 0x08000000;
inline constexpr std::uint32_t caption = 0x00C00000;
inline constexpr std::uint32_t border = 0x00800000;
inline constexpr std::uint32_t dlgframe = 0x00400000;
inline constexpr std::uint32_t sysmenu = 0x00080000;
inline constexpr std::uint32_t thickframe = 0x00040000;
inline constexpr std::uint32_t group = 0x00020000;
inline constexpr std::uint32_t tabstop = 0x00010000;
// The same bits as group and tabstop: controls never have boxes, windows with a caption do.
inline constexpr std::uint32_t minimizebox = 0x00020000;
inline constexpr std::uint32_t maximizebox = 0x00010000;
} // namespace ws

namespace ws_ex {
inline constexpr std::uint32_t client_edge = 0x00000200;
inline constexpr std::uint32_t control_parent = 0x00010000;
inline constexpr std::uint32_t layout_rtl = 0x00400000;
} // namespace ws_ex

namespace ds {
inline constexpr std::uint32_t set_font = 0x40;
inline constexpr std::uint32_t modal_frame = 0x80;
inline constexpr std::uint32_t control = 0x400;
} // namespace ds

namespace bs {
inline constexpr std::uint32_t type_mask = 0x0F;
inline constexpr std::uint32_t push_button = 0x0;
inline constexpr std::uint32_t def_push_button = 0x1;
inline constexpr std::uint32_t check_box = 0x2;
inline constexpr std::uint32_t auto_check_box = 0x3;
inline constexpr std::uint32_t radio_button = 0x4;
inline constexpr std::uint32_t three_state = 0x5;
inline constexpr std::uint32_t auto_three_state = 0x6;
inline constexpr std::uint32_t group_box = 0x7;
inline constexpr std::uint32_t auto_radio_button = 0x9;
} // namespace bs

namespace es {
inline constexpr std::uint32_t multiline = 0x0004;
inline constexpr std::uint32_t read_only = 0x0800;
} // namespace es

namespace ss {
inline constexpr std::uint32_t type_mask = 0x1F;
inline constexpr std::uint32_t icon = 0x03;
inline constexpr std::uint32_t black_rect = 0x04;
inline constexpr std::uint32_t gray_rect = 0x05;
inline constexpr std::uint32_t white_rect = 0x06;
inline constexpr std::uint32_t bitmap = 0x0E;
inline constexpr std::uint32_t etched_horz = 0x10;
inline constexpr std::uint32_t etched_vert = 0x11;
inline constexpr std::uint32_t etched_frame = 0x12;
inline constexpr std::uint32_t sunken = 0x1000;
} // namespace ss

// Notification codes a control sends its parent with its id.
namespace notify {
inline constexpr std::uint16_t bn_clicked = 0;
inline constexpr std::uint16_t cbn_selchange = 1;
inline constexpr std::uint16_t en_change = 0x0300;
} // namespace notify

inline constexpr int idok = 1;
inline constexpr int idcancel = 2;

// System menu commands.
namespace sc {
inline constexpr std::uint32_t size = 0xF000;
inline constexpr std::uint32_t move = 0xF010;
inline constexpr std::uint32_t minimize = 0xF020;
inline constexpr std::uint32_t maximize = 0xF030;
inline constexpr std::uint32_t close = 0xF060;
inline constexpr std::uint32_t restore = 0xF120;
} // namespace sc

} // namespace platform::ui
