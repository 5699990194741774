#pragma once
// Backups of what the installation replaces: files set aside under "qv" names in the user's
// temporary folder, moved back by a rollback or deleted once the installation is kept.

#include "platform/os/result.h"

#include <string>
#include <string_view>
#include <system_error>

namespace qv {

enum class backup_method { move, copy };

// A fresh "qv<hex>.tmp" name in the user's temporary folder, reserved by an empty file there so
// that no other caller gets it. A temporary folder path longer than 246 characters is refused
// (ERROR_FILENAME_EXCED_RANGE), as it leaves no room for the name.
platform::os::result<std::wstring> reserve_backup_name();

// Sets the file at path aside under a reserved name, keeping its content and attributes:
// moved away, or copied while it stays. A symbolic link is moved as the link itself and never
// copied through (ERROR_ACCESS_DENIED), since its target may be anything. On failure the file
// is as it was and no backup is left.
platform::os::result<std::wstring> backup_file(std::wstring_view path, backup_method method);

// Moves a backup back to the path it was taken from, with its attributes. The path must be free
// (ERROR_ALREADY_EXISTS otherwise, whatever is there, a link included); on failure the backup
// stays where it is.
std::error_code restore_backup(std::wstring_view backup, std::wstring_view path);

// Deletes the file or link at path, read-only or not, never acting on a link's target. Nothing
// there is no failure. When the deletion fails the file keeps its attributes.
std::error_code force_delete_file(std::wstring_view path);

} // namespace qv
