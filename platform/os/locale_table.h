#pragma once
// The locales this machine knows: each Windows locale with its name, the host locale that
// carries its conventions, and the data the locale functions report.

#include <cstdint>
#include <string_view>

namespace platform::os {

// The writing system of a locale's language, which decides its font signature.
enum class writing_script {
    latin,
    greek,
    cyrillic,
    hebrew,
    arabic,
    devanagari,
    thai,
    vietnamese,
    chinese,
    japanese,
    korean,
};

struct locale_entry {
    // The LCID with the default sort: the language id.
    std::uint16_t lang_id;
    std::wstring_view name;
    // The host locale without its codeset: language_TERRITORY[@modifier].
    std::string_view host_name;
    std::wstring_view native_language_name;
    std::uint16_t ansi_code_page;
    writing_script script;
};

// Only the default sort of each locale is known: an LCID with sort bits finds nothing.
const locale_entry* find_locale(std::uint32_t lcid);
// Windows locale names compare without case.
const locale_entry* find_locale(std::wstring_view name);
// The locale a host locale name ("de_DE.UTF-8", "sr_RS@latin", "de") stands for: the same
// language, modifier and territory; else the same language and modifier, the same language and
// territory, or the same language, each time the language's first (default) locale.
const locale_entry* find_host_locale(std::string_view host_name);

} // namespace platform::os
