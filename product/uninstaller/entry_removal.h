#pragma once
// Removing one file, link or folder of the installation. The uninstaller runs as administrator
// over folders other users may write to, so it never follows a symbolic link: a link in the
// place of a file or folder is removed itself, never its target, and a path that leads through a
// linked folder is not touched.

#include "platform/os/result.h"

#include <string_view>
#include <system_error>

namespace uninstaller {

// Deletes the file or link; one already gone is success. A read-only file loses the attribute
// first and gets it back when it still cannot be deleted. ERROR_ACCESS_DENIED for a path through
// a linked folder; the error of the deletion otherwise (ERROR_SHARING_VIOLATION for a file
// another process holds open without delete sharing).
std::error_code remove_installed_file(std::wstring_view path);

enum class folder_outcome { removed, absent, not_empty };

// Removes the folder when it holds nothing; a folder that holds something is left as it is.
platform::os::result<folder_outcome> remove_folder_if_empty(std::wstring_view path);

} // namespace uninstaller
