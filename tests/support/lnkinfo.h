#pragma once
// What the field's own reader of shell links, lnkinfo (liblnk-utils), makes of a link file.

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>

namespace qv_test {

// The "name: value" lines lnkinfo prints for a link, by name ("Local path", "Working
// directory", "Description", ...); throws when lnkinfo cannot be run or refuses the file.
inline std::map<std::string, std::string> lnkinfo_fields(const std::filesystem::path& link) {
    std::string quoted = "'";
    for (char c : link.string())
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    quoted += "'";
    std::unique_ptr<FILE, int (*)(FILE*)> output(::popen(("lnkinfo " + quoted).c_str(), "r"),
                                                 &::pclose);
    if (!output)
        throw std::runtime_error("cannot run lnkinfo");
    std::string text;
    std::array<char, 4096> chunk{};
    while (std::fgets(chunk.data(), static_cast<int>(chunk.size()), output.get()))
        text += chunk.data();
    if (::pclose(output.release()) != 0)
        throw std::runtime_error("lnkinfo refused " + link.string() + ":\n" + text);

    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        // Names hold no colon; values may.
        const std::size_t colon = line.find(": ");
        const std::size_t name_start = line.find_first_not_of('\t');
        if (colon == std::string::npos || name_start >= colon)
            continue;
        const std::size_t name_end = line.find_last_not_of("\t ", colon - 1);
        fields[line.substr(name_start, name_end + 1 - name_start)] = line.substr(colon + 2);
    }
    return fields;
}

} // namespace qv_test
