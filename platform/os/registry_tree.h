#pragma once
// The in-memory form of a registry hive: keys with their values, subkeys in Windows' name order,
// and the option lines of the file that this system keeps without interpreting them.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// Windows' order of key names: without case, by UTF-16 code units.
int compare_key_names(std::wstring_view a, std::wstring_view b);

struct registry_name_less {
    using is_transparent = void;
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        return compare_key_names(a, b) < 0;
    }
};

struct registry_value {
    std::wstring name; // empty for the default value
    std::uint32_t type = 0;
    std::string bytes;
};

struct registry_node {
    std::uint64_t modified = 0; // FILETIME of the last change
    // Option lines of the key's block other than #time (#class, #link, ...), as they were read.
    std::vector<std::string> options;
    std::vector<registry_value> values; // in the order they were first set
    std::map<std::wstring, std::unique_ptr<registry_node>, registry_name_less> subkeys;

    registry_value* find_value(std::wstring_view name);
    const registry_value* find_value(std::wstring_view name) const;
    registry_node* find_subkey(std::wstring_view name);
    const registry_node* find_subkey(std::wstring_view name) const;
};

using registry_path = std::vector<std::wstring>;

// The key at path below root, or null when a component is missing.
registry_node* find_key(registry_node& root, const registry_path& path);
const registry_node* find_key(const registry_node& root, const registry_path& path);

// The current time as a FILETIME: 100-nanosecond units since 1601-01-01 UTC.
std::uint64_t filetime_now();
std::uint64_t filetime_from_unix_seconds(std::uint64_t seconds);
std::uint64_t unix_seconds_from_filetime(std::uint64_t filetime);

} // namespace platform::os
