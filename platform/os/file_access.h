#pragma once
// What an open of a file asks for (CreateFileW's access, sharing and disposition), and how the
// last component of a path is taken when it is a symbolic link.

#include <cstdint>

namespace platform::os {

// dwDesiredAccess
namespace file_access {
inline constexpr std::uint32_t none = 0;
inline constexpr std::uint32_t generic_read = 0x80000000;
inline constexpr std::uint32_t generic_write = 0x40000000;
inline constexpr std::uint32_t delete_access = 0x00010000;
} // namespace file_access

// dwShareMode: the accesses that later opens of the same file may hold while this one is open.
namespace file_share {
inline constexpr std::uint32_t none = 0;
inline constexpr std::uint32_t read = 1;
inline constexpr std::uint32_t write = 2;
inline constexpr std::uint32_t delete_access = 4;
inline constexpr std::uint32_t all = read | write | delete_access;
} // namespace file_share

// dwCreationDisposition
enum class creation {
    create_new = 1,
    create_always = 2,
    open_existing = 3,
    open_always = 4,
    truncate_existing = 5,
};

// refuse: a last component that is a symbolic link is never followed, so that an administrator
// writing into a folder other users can write is not steered to another file. Opening or
// changing such a link then fails with ERROR_ACCESS_DENIED (creating a new file by its name with
// ERROR_FILE_EXISTS, as the name is taken); reading its attributes reports the link itself.
enum class symlinks { follow, refuse };

} // namespace platform::os
