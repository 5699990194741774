#pragma once
// Windows file access rights and access-entry flags, Windows' own values.

#include <cstdint>

namespace qv {

namespace file_rights {
inline constexpr std::uint32_t read_data = 0x0001;   // folders: list
inline constexpr std::uint32_t write_data = 0x0002;  // folders: add a file
inline constexpr std::uint32_t append_data = 0x0004; // folders: add a subfolder
inline constexpr std::uint32_t read_ea = 0x0008;
inline constexpr std::uint32_t write_ea = 0x0010;
inline constexpr std::uint32_t execute = 0x0020; // folders: traverse
inline constexpr std::uint32_t delete_child = 0x0040;
inline constexpr std::uint32_t read_attributes = 0x0080;
inline constexpr std::uint32_t write_attributes = 0x0100;
inline constexpr std::uint32_t delete_access = 0x00010000;
inline constexpr std::uint32_t read_control = 0x00020000;
inline constexpr std::uint32_t write_dac = 0x00040000;
inline constexpr std::uint32_t write_owner = 0x00080000;
inline constexpr std::uint32_t synchronize = 0x00100000;
inline constexpr std::uint32_t generic_all = 0x10000000;
inline constexpr std::uint32_t generic_execute = 0x20000000;
inline constexpr std::uint32_t generic_write = 0x40000000;
inline constexpr std::uint32_t generic_read = 0x80000000;

// FILE_ALL_ACCESS: every file and folder right.
inline constexpr std::uint32_t all_access = 0x001F01FF;
// What shared data files get: read, write and delete, without execute.
inline constexpr std::uint32_t read_write_delete = 0x0013019F;
} // namespace file_rights

namespace ace_flags {
inline constexpr std::uint32_t none = 0x00;
inline constexpr std::uint32_t object_inherit = 0x01;
inline constexpr std::uint32_t container_inherit = 0x02;
inline constexpr std::uint32_t no_propagate_inherit = 0x04;
inline constexpr std::uint32_t inherit_only = 0x08;
inline constexpr std::uint32_t inherited = 0x10;
} // namespace ace_flags

} // namespace qv
