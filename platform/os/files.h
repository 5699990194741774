#pragma once
// Opening, creating and deleting files of the machine (CreateFileW, DeleteFileW), with Windows
// sharing, read-only protection and error codes, in this and every other process using the
// machine.

#include "platform/os/file_access.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_handle.h"
#include "platform/os/result.h"

#include <cstdint>
#include <string_view>
#include <system_error>

namespace platform::os {

// CreateFileW. The open conflicts with the file's other opens (ERROR_SHARING_VIOLATION) when
// they refuse to share an access it asks for, or hold one it refuses to share. A read-only file
// cannot be opened with generic_write, nor overwritten or truncated (ERROR_ACCESS_DENIED, also
// for root), nor a hidden or system file overwritten by create_always without naming those
// attributes. A new file gets archive plus the settable bits of attributes; an overwritten one
// adds them to those it had. Folders cannot be opened (ERROR_ACCESS_DENIED). The host file is
// always opened for reading, where the sharing records live, so a file this user may not read
// cannot be opened at all. A new ".exe" or ".com" file can be started by every user who may read
// it (start_process); other new files cannot.
result<file_handle> create_file(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                creation how, std::uint32_t attributes = file_attribute::normal,
                                symlinks links = symlinks::follow);

// DeleteFileW: a folder or a read-only file gives ERROR_ACCESS_DENIED, a file held open without
// share-delete ERROR_SHARING_VIOLATION. A symbolic link is deleted, not its target.
std::error_code delete_file(std::wstring_view path);

// The volume serial number and file index of GetFileInformationByHandle: equal for two paths
// that reach the same file.
struct file_identity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const file_identity&, const file_identity&) = default;
};
result<file_identity> get_file_identity(std::wstring_view path);

// Whether the path names any directory entry (a file, a folder, a link even to nothing).
bool path_exists(std::wstring_view path);

} // namespace platform::os
