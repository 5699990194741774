#include "app/localized_strings.h"

#include "app/language_resources.h"
#include "app/language_state.h"

namespace qv {
namespace {

constexpr std::uint32_t french_block = 1000;
// The text of an entry that is not translated.
constexpr std::wstring_view untranslated = L"#";

} // namespace

std::uint32_t resolve_string_id(std::uint32_t french_id) {
    const language_index current = language_state::instance().language;
    if (current == languages::french)
        return french_id;
    const language_index search = is_installer_language(current) ? current : languages::english;
    const std::uint32_t candidate = french_id - french_block + language_string_block(search);
    // An untranslated English entry shows as "#".
    if (search == languages::english || load_resource_string(candidate) != untranslated)
        return candidate;
    const std::uint32_t english =
        french_id - french_block + language_string_block(languages::english);
    return load_resource_string(english) != untranslated ? english : candidate;
}

std::wstring localized_text(std::uint32_t n) {
    return load_resource_string(resolve_string_id(french_block + n));
}

} // namespace qv
