#pragma once
// The host's locale environment for a test: the LANG it names, and host locales compiled from
// the system's locale sources into a folder of the test's own, so that a test sees de_DE.UTF-8
// and its like whether or not the host has generated them.

#include "tests/support/host_command.h"
#include "tests/support/scratch_folder.h"

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>

// With LOCPATH set, the C library's newlocale leaks its copy of the search path on every call;
// the leak checker must not take that for the program's.
extern "C" inline __attribute__((used)) const char* __lsan_default_suppressions() {
    return "leak:__argz_add_sep\n";
}

namespace qv_test {

// LANG as given, LC_ALL and LC_MESSAGES unset: the user's locale as the host names it.
inline void set_user_locale(const char* lang) {
    ::unsetenv("LC_ALL");
    ::unsetenv("LC_MESSAGES");
    ::setenv("LANG", lang, 1);
}

class host_locales {
public:
    // Each locale source ("de_DE", "sr_RS@latin") compiled as its UTF-8 locale
    // ("de_DE.UTF-8", "sr_RS.UTF-8@latin"); LOCPATH then names that folder before the system's.
    explicit host_locales(std::initializer_list<std::string> sources) {
        for (const std::string& source : sources) {
            const auto at = source.find('@');
            const std::string name = source.substr(0, at) + ".UTF-8" +
                                     (at == std::string::npos ? "" : source.substr(at));
            const std::filesystem::path output = folder_.path() / name;
            // localedef reports warnings of the system's sources through its exit code too.
            run_host_command({"localedef", "-c", "-i", source, "-f", "UTF-8", output.string()});
            if (!std::filesystem::exists(output / "LC_CTYPE"))
                throw std::runtime_error("cannot compile the host locale " + name);
        }
        ::setenv("LOCPATH", (folder_.path().string() + ":/usr/lib/locale").c_str(), 1);
    }
    ~host_locales() { ::unsetenv("LOCPATH"); }
    host_locales(const host_locales&) = delete;
    host_locales& operator=(const host_locales&) = delete;

private:
    scratch_folder folder_{"qv-locales-"};
};

} // namespace qv_test
