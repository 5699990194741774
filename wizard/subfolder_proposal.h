#pragma once
// The product's folder name that the folder browser proposes below the folder the user selects.

#include <string>
#include <string_view>

namespace qv {

// The name as the browser takes it: empty when any character is invalid in names or a wildcard
// (separators are allowed, so it may have several components); trailing dots removed.
std::wstring accepted_subfolder(std::wstring_view name);

// Appends subfolder's components to path unless path already ends with all of them (compared
// without case; the drive or share never counts). When path ends with the subfolder's leading
// components, only the rest is appended. Paths or names of MAX_PATH characters or more never
// match; a result that would not fit leaves path unchanged.
void append_subfolder(std::wstring& path, std::wstring_view subfolder);

} // namespace qv
