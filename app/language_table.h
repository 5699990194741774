#pragma once
// The installer's interface languages: the fixed table that ties each language index to its
// Windows locale, its block of string-table entries and its flag, and the sets of languages the
// product is offered in and the installer's own texts are translated into.

#include <cstdint>

namespace qv {

// The program-wide identifier of a language: what "QvLanguage" holds and the string loader
// switches on.
using language_index = std::int32_t;

namespace languages {
inline constexpr language_index french = 0, english = 1, german = 2, spanish = 3, portuguese = 4,
                                dutch = 5, danish = 6, turkish = 7, bulgarian = 8, romanian = 9,
                                chinese_simplified = 10, italian = 11, czech = 12, norwegian = 13,
                                greek = 14, polish = 15, hebrew = 16, vietnamese = 17,
                                japanese = 18, hungarian = 19, serbian_latin = 20;
inline constexpr language_index count = 21;
} // namespace languages

// A set of language indices: bit i stands for index i.
using language_set = std::uint32_t;
constexpr bool contains(language_set set, language_index i) {
    return i >= 0 && i < languages::count && (set >> i & 1) != 0;
}

// French, English, German, Spanish, Portuguese, Turkish, Romanian, Italian, Polish, Hungarian.
inline constexpr language_set product_languages = 0x88A9F;
// The installer's own texts are translated into the product languages but Polish.
inline constexpr language_set installer_languages =
    product_languages & ~(language_set{1} << languages::polish);

bool is_product_language(language_index i);
bool is_installer_language(language_index i);

// The columns of the table, for an index of it (others throw std::out_of_range).
std::uint32_t language_lcid(language_index i);
// The resource id of message 0 in the language's string table: message n has block + n.
std::uint32_t language_string_block(language_index i);
// The group-icon resource of the language's flag.
std::uint16_t language_flag_icon(language_index i);

// The language of the user's default language when it is in the set, else English when that is
// in the set, else French. Chinese is the simplified one only (PRC and Singapore); Croatian and
// Bosnian users get Serbian (Latin).
language_index select_default_language(language_set set);

} // namespace qv
