#pragma once
// Windows' full-path rules (GetFullPathNameW): the kind of a path, the current directory it is
// taken against, and the normalization of separators, "." and "..", and trailing dots and blanks.

#include "platform/os/result.h"

#include <string>
#include <string_view>

namespace platform::os {

inline constexpr std::size_t max_path = 260;

// Both separate the components of a Windows path.
constexpr bool is_separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}
constexpr bool is_drive_letter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

enum class path_kind {
    relative,       // name\name
    rooted,         // \name: the current drive's root
    drive_relative, // C:name
    drive_absolute, // C:\name
    unc,            // \\server\share\name
    local_device,   // \\.\name
    verbatim,       // \\?\name: taken as it is
};

path_kind classify_path(std::wstring_view path);

// The absolute, normalized form of path against current_directory (an absolute drive path).
// The result is not checked for existence or length.
std::wstring full_path_name(std::wstring_view path, std::wstring_view current_directory);

// The process's current directory, a Windows path. Starts as the host's working directory seen
// through the machine's drives.
std::wstring current_directory();
// Fails like SetCurrentDirectoryW when the folder does not exist.
std::error_code set_current_directory(std::wstring_view path);

// full_path_name against the process's current directory.
std::wstring full_path_name(std::wstring_view path);

} // namespace platform::os
