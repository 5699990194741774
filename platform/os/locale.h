#pragma once
// The Windows locale functions over the host: the user's locale from the host's locale
// environment, locale ids and names, the locale data the program asks for, and the thread locale.

#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::os {

// LCIDs that stand for the user's locale. The machine has one user, so the system's locale is
// the user's.
inline constexpr std::uint32_t locale_user_default = 0x0400;
inline constexpr std::uint32_t locale_system_default = 0x0800;

// The LCTYPE values of get_locale_info.
namespace locale_info {
// LOCALE_SNATIVELANGNAME: the language's own name, as the system spells it.
inline constexpr std::uint32_t native_language_name = 0x0004;
// LOCALE_FONTSIGNATURE: a LOCALESIGNATURE as 16 UTF-16 units: the Unicode subranges of the
// language's script (bit 123: written right to left), then the default and the supported ANSI
// code pages.
inline constexpr std::uint32_t font_signature = 0x0058;
} // namespace locale_info

// PRIMARYLANGID, SUBLANGID, LANGIDFROMLCID.
constexpr std::uint16_t primary_language(std::uint16_t lang_id) {
    return lang_id & 0x3FF;
}
constexpr std::uint16_t sub_language(std::uint16_t lang_id) {
    return lang_id >> 10;
}
constexpr std::uint16_t lang_id_of(std::uint32_t lcid) {
    return static_cast<std::uint16_t>(lcid & 0xFFFF);
}

// GetUserDefaultLangID: the locale named by the first non-empty of LC_ALL, LC_MESSAGES and LANG,
// read at each call ("de_DE.UTF-8" gives 0x0407, "de" its default country). None, "C", "POSIX"
// or a locale this machine does not know give English (United States), 0x0409.
std::uint16_t user_default_lang_id();
// GetUserDefaultLCID: the same locale with the default sort.
std::uint32_t user_default_lcid();

// LCIDToLocaleName ("de-DE"); empty for an LCID this machine does not know.
std::wstring lcid_to_locale_name(std::uint32_t lcid);
// LocaleNameToLCID, the name compared without case; 0 for a name this machine does not know.
std::uint32_t locale_name_to_lcid(std::wstring_view name);

// GetLocaleInfoW, the text without its terminating NUL. ERROR_INVALID_PARAMETER for an unknown
// LCID, ERROR_INVALID_FLAGS for a type this machine does not provide.
result<std::wstring> get_locale_info(std::uint32_t lcid, std::uint32_t type);

// GetThreadLocale: the calling thread's locale, the user's until the thread sets one.
std::uint32_t thread_locale();
// SetThreadLocale; ERROR_INVALID_PARAMETER for an unknown LCID, which leaves it as it was.
std::error_code set_thread_locale(std::uint32_t lcid);

} // namespace platform::os
