#pragma once
// Whether a text may name folders: the characters the shell accepts, separators included.

#include <string_view>

namespace qv {

// No character is invalid in names (PathGetCharTypeW's GCT_INVALID) or a wildcard.
bool only_name_characters(std::wstring_view text);

} // namespace qv
