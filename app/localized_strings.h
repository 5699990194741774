#pragma once
// The installer's messages in the current language. The code names message n by its French id,
// 1000 + n; the string loader turns that into the id of the text to show.

#include <cstdint>
#include <string>

namespace qv {

// The resource id of a message's text in the current language. French gives the French id as
// it is. A language the installer's texts are not translated into gives the English id. Any
// other gives the id in its own block, or the English id when its text is "#" (not translated)
// and the English one is not. A missing entry is not "#": its id is kept, and shows empty.
std::uint32_t resolve_string_id(std::uint32_t french_id);

// The text of message n in the current language.
std::wstring localized_text(std::uint32_t n);

} // namespace qv
