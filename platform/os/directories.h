#pragma once
// Making and removing folders of the machine (CreateDirectoryW, RemoveDirectoryW).

#include <cstddef>
#include <string_view>
#include <system_error>

namespace platform::os {

// The longest full path CreateDirectoryW accepts without the \\?\ prefix: room is kept for an
// 8.3 file name inside the folder.
inline constexpr std::size_t max_directory_path = 248;

// CreateDirectoryW: ERROR_ALREADY_EXISTS when any entry has the name, ERROR_PATH_NOT_FOUND when
// the parent is missing, ERROR_FILENAME_EXCED_RANGE beyond max_directory_path.
std::error_code create_directory(std::wstring_view path);

// RemoveDirectoryW: ERROR_DIR_NOT_EMPTY for a folder with entries, ERROR_DIRECTORY for a file.
// A symbolic link to a folder is removed itself.
std::error_code remove_directory(std::wstring_view path);

} // namespace platform::os
