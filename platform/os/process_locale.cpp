#include "platform/os/process_locale.h"

#include "platform/os/error.h"
#include "platform/os/locale_table.h"
#include "platform/os/unicode.h"

#include <clocale>
#include <locale.h>
#include <locale>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform::os {
namespace {

// The spellings under which the host may have the UTF-8 locale of a Windows locale name; the
// empty name stands for the environment's choice.
std::vector<std::string> host_locale_spellings(std::string_view locale_name) {
    if (locale_name.empty())
        return {""};
    const locale_entry* entry = find_locale(from_utf8(locale_name));
    if (!entry)
        return {};
    const std::string_view host = entry->host_name;
    const auto at = host.find('@');
    const std::string base(host.substr(0, at));
    const std::string modifier(at == std::string_view::npos ? std::string_view{} : host.substr(at));
    return {base + ".UTF-8" + modifier, base + ".utf8" + modifier};
}

std::locale host_locale(std::string_view locale_name) {
    for (const std::string& spelling : host_locale_spellings(locale_name)) {
        try {
            return std::locale(spelling);
        } catch (const std::runtime_error&) {
            // Not on this host under that spelling.
        }
    }
    return std::locale::classic();
}

} // namespace

void use_process_wide_locale() {
    uselocale(LC_GLOBAL_LOCALE);
}

void set_c_runtime_locale(std::string_view locale_name) {
    std::setlocale(LC_ALL, "C");
    const std::vector<std::string> spellings = host_locale_spellings(locale_name);
    for (int category : {LC_CTYPE, LC_COLLATE, LC_TIME, LC_MONETARY}) {
        for (const std::string& spelling : spellings) {
            if (std::setlocale(category, spelling.c_str()))
                break;
        }
    }
}

std::error_code set_stream_locale(std::string_view locale_name) {
    try {
        std::locale::global(std::locale(std::locale(), host_locale(locale_name),
                                        std::locale::collate | std::locale::ctype |
                                            std::locale::monetary | std::locale::time));
    } catch (const std::bad_alloc&) {
        return make_error_code(win32_error::not_enough_memory);
    }
    return {};
}

} // namespace platform::os
