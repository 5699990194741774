#pragma once
// The path model the installer's own code uses: the decomposition and joining rules of a
// Windows build's std::filesystem::path, where both '\' and '/' separate, plus the installer's
// own rules for dropping and adding a last component.

#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// Root name ("C:" or "\\server"), root directory (the run of separators after it), then each
// file name; a trailing separator yields a final empty element.
// "C:\a\b\" -> {"C:", "\", "a", "b", ""}.
std::vector<std::wstring> path_elements(std::wstring_view path);

std::wstring path_root_name(std::wstring_view path);
bool path_has_root_directory(std::wstring_view path);

// "C:\x" and "\\server\x" are absolute; "C:x" and "\x" are not.
bool path_is_absolute(std::wstring_view path);

// base / more: an absolute more, or one with another root name, replaces base; a more with a
// root directory keeps only base's root name; otherwise one '\' is inserted where base ends in
// a file name (or is a bare "\\server"). Joining "" leaves a trailing separator.
std::wstring path_join(std::wstring_view base, std::wstring_view more);

// The last element unless it is part of the root: "C:\a\b" -> "b", "C:\a\" -> "", "C:" -> "".
std::wstring path_filename(std::wstring_view path);

// The path without its file name and the separators before it, never shorter than its root:
// "C:\a\b" -> "C:\a", "C:\a" -> "C:\", "C:\" -> "C:\", "a" -> "".
std::wstring path_parent(std::wstring_view path);

// The file name without its extension: "a.txt" -> "a", ".profile" -> ".profile", ".." -> "..".
// An alternate stream name ("a.txt:s") is not part of it either.
std::wstring path_stem(std::wstring_view path);

// The installer's "drop the last component" rule: removes the trailing file name and then any
// run of '\' or '/' before it, never past the root ("C:\" stays); a path without separators
// becomes empty.
std::wstring drop_last_component(std::wstring_view path);

// One '\' inserted when folder is not empty and does not already end with '\' or '/'.
std::wstring join_with_separator(std::wstring_view folder, std::wstring_view name);

} // namespace platform::os
