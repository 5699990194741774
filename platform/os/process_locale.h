#pragma once
// The process's locales for a Windows locale name: the C runtime's and the standard streams'
// global locale, taken from the host locale with the same conventions. Numbers keep the "C"
// conventions in both.

#include <string_view>
#include <system_error>

namespace platform::os {

// _configthreadlocale(_DISABLE_PER_THREAD_LOCALE): the calling thread follows the process's
// locale again, whatever locale it chose for itself.
void use_process_wide_locale();

// setlocale for a Windows locale name ("de-DE"): every category to "C", then LC_CTYPE,
// LC_COLLATE, LC_TIME and LC_MONETARY to the host's UTF-8 locale for that name; categories stay
// "C" when the host does not have it or the name is unknown. An empty name means the user's
// locale as the host's environment names it.
void set_c_runtime_locale(std::string_view locale_name);

// std::locale::global: the current global locale with collate, ctype, monetary and time taken
// from the host's locale for the name (the classic locale when the host does not have it or the
// name is unknown). Fails only when memory runs out.
std::error_code set_stream_locale(std::string_view locale_name);

} // namespace platform::os
