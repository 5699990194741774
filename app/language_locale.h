#pragma once
// What the installer takes from each language's Windows locale: the LCID it runs under, the
// process's locales, the writing direction and the language's own name.

#include "app/language_table.h"

#include <cstdint>
#include <string>
#include <system_error>

namespace qv {

// The user's default LCID, sort included, when its language id is the language's own; else the
// LCID of the table.
std::uint32_t effective_lcid(language_index i);

// The Windows locale name of the language ("de-DE"): the user's own locale when the user's
// default language has the same primary language ("de-AT" for German under an Austrian user).
// Empty when the look-up fails.
std::string language_locale_name(language_index i);

// The process's locales for the language: the standard streams' global locale and the C
// runtime's take the language's conventions for text, time and money. Numbers keep the "C"
// conventions (a full stop, no grouping) whatever the language. Never fails: a locale the host
// does not have leaves those categories "C".
void apply_language_locale(language_index i);

// The process's locale at program start, before the language service exists: locales
// process-wide, and the standard streams' global locale with the user's conventions for text,
// time and money. An error stops the program.
std::error_code initialize_process_locale();

// The language's script is written right to left (of the table's, Hebrew only), from the font
// signature of its locale.
bool is_right_to_left(language_index i);

// The language's own name as the system spells it, with a capital first letter ("Français",
// "Deutsch", "Magyar"); empty when the system does not know it.
std::wstring language_display_name(language_index i);

} // namespace qv
