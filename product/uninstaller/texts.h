#pragma once
// The uninstaller's texts, in the language the user chose when installing.

#include "app/language_table.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace uninstaller {

// The "QvLanguage" value of the product's uninstall entry when it names a language the
// installer speaks, else English: the uninstaller speaks the installer's languages.
qv::language_index text_language();

// Text id (text_ids.h) of the language's string table, with "%1" and "%2" replaced.
std::wstring text(qv::language_index language, std::uint32_t id, std::wstring_view first = {},
                  std::wstring_view second = {});

} // namespace uninstaller
