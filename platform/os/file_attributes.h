#pragma once
// File attributes (GetFileAttributesW / SetFileAttributesW) on the machine's files.
//
// Read-only of a file is its host write permission: set, it clears every write bit; cleared, it
// gives the owner write permission back, and group and others too where they may read and the
// process's umask lets them write. Every other attribute, and read-only of a folder, is kept in
// the extended attribute user.DOSATTRIB as the text "0x<hex bits>". A file without it reports
// archive, as Windows marks new files. On a file system without user extended attributes those
// other attributes cannot be kept: setting them succeeds and they are lost.

#include "platform/os/file_access.h"
#include "platform/os/result.h"

#include <cstdint>
#include <string_view>
#include <system_error>

namespace platform::os {

namespace file_attribute {
inline constexpr std::uint32_t readonly = 0x1;
inline constexpr std::uint32_t hidden = 0x2;
inline constexpr std::uint32_t system = 0x4;
inline constexpr std::uint32_t directory = 0x10;
inline constexpr std::uint32_t archive = 0x20;
inline constexpr std::uint32_t normal = 0x80;
inline constexpr std::uint32_t reparse_point = 0x400;
inline constexpr std::uint32_t not_content_indexed = 0x2000;
// INVALID_FILE_ATTRIBUTES
inline constexpr std::uint32_t invalid = 0xFFFFFFFF;
// The bits SetFileAttributesW and CreateFileW keep; others are ignored.
inline constexpr std::uint32_t settable =
    readonly | hidden | system | archive | not_content_indexed;
} // namespace file_attribute

// GetFileAttributesW. normal is reported only when no other bit is set. With symlinks::refuse a
// symbolic link reports itself: reparse_point with directory or archive, as its target is a
// folder or not.
result<std::uint32_t> get_file_attributes(std::wstring_view path,
                                          symlinks links = symlinks::follow);

// SetFileAttributesW: the settable bits of attributes replace the entry's; normal or 0 clears
// them all. With symlinks::refuse a symbolic link is refused (ERROR_ACCESS_DENIED) and its
// target left alone.
std::error_code set_file_attributes(std::wstring_view path, std::uint32_t attributes,
                                    symlinks links = symlinks::follow);

} // namespace platform::os
