#pragma once
// Moving, renaming and copying entries of the machine (MoveFileW, MoveFileExW, CopyFileW).
//
// A moved or replaced file counts as an open with delete access: one held open without
// share-delete gives ERROR_SHARING_VIOLATION. A read-only file may be moved but not replaced.
// Between host file systems a file is copied (content, attributes, modification time) and the
// original deleted; a folder cannot cross (ERROR_NOT_SAME_DEVICE).

#include <string_view>
#include <system_error>

namespace platform::os {

// MoveFileW: renames a file or folder; an existing destination gives ERROR_ALREADY_EXISTS.
// A destination that differs from the source only in case renames it to the new spelling.
std::error_code move_file(std::wstring_view from, std::wstring_view to);

// MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED): an existing destination file
// is replaced, unless it is read-only (ERROR_ACCESS_DENIED); folders are never replaced, nor
// replace anything (ERROR_ACCESS_DENIED).
std::error_code move_file_replace(std::wstring_view from, std::wstring_view to);

enum class overwrite { forbid, allow };

// CopyFileW: the copy gets the source's content, attributes and modification time. With
// overwrite::forbid an existing destination gives ERROR_FILE_EXISTS; otherwise it is replaced
// unless it is read-only or hidden (ERROR_ACCESS_DENIED). ERROR_SHARING_VIOLATION when the
// source is held open for writing, when a destination held open does not share writing and
// deletion, and when a file is copied onto itself.
std::error_code copy_file(std::wstring_view from, std::wstring_view to, overwrite mode);

} // namespace platform::os
