#pragma once
// Whether two Windows paths name the same folder or file.

#include <string_view>

namespace qv {

// True when the paths are equal as paths (same root, same names, whatever the separators); else,
// when both exist, when they reach the same file; else, when the file identity of either cannot
// be read, when their absolute forms have the same elements ignoring case.
bool same_path(std::wstring_view a, std::wstring_view b);

} // namespace qv
