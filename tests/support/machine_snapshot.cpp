#include "tests/support/machine_snapshot.h"

#include "platform/os/error.h"
#include "platform/os/file_attributes.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace qv_test {
namespace fs = std::filesystem;
namespace os = platform::os;
namespace {

std::string windows_path_of(const fs::path& relative) {
    std::string path = "C:";
    for (const fs::path& part : relative)
        path += "\\" + part.string();
    return path;
}

snapshot_entry entry_at(const fs::directory_entry& entry, const std::string& windows_path) {
    snapshot_entry found;
    const auto attributes =
        os::get_file_attributes(os::from_utf8(windows_path), os::symlinks::refuse);
    if (!attributes)
        throw std::system_error(attributes.error(), windows_path);
    found.attributes = *attributes;
    if (entry.is_symlink()) {
        found.kind = snapshot_entry::entry_kind::link;
        found.content = fs::read_symlink(entry.path()).string();
    } else if (entry.is_directory()) {
        found.kind = snapshot_entry::entry_kind::folder;
    } else {
        found.content = read_host_file(entry.path());
    }
    return found;
}

void take_files(machine_snapshot& snapshot) {
    const fs::path drive = os::machine_root() / "drive_c";
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(drive)) {
        const std::string path = windows_path_of(fs::relative(entry.path(), drive));
        snapshot.entries.emplace(path, entry_at(entry, path));
    }
}

template <class T> T checked(os::result<T> value, const std::string& what) {
    if (!value)
        throw std::system_error(value.error(), what);
    return std::move(*value);
}

void take_key(machine_snapshot& snapshot, const os::registry_key& key, const std::string& path) {
    auto& values = snapshot.keys[path];
    for (std::uint32_t index = 0;; ++index) {
        const auto name = os::enum_value(key, index);
        if (!name && name.error() == os::win32_error::no_more_items)
            break;
        const std::wstring value_name = checked(name, path);
        const auto data = checked(os::query_value(key, value_name), path);
        values[os::to_utf8(value_name)] = {data.type, data.bytes};
    }
    for (std::uint32_t index = 0;; ++index) {
        const auto name = os::enum_key(key, index);
        if (!name && name.error() == os::win32_error::no_more_items)
            break;
        const std::wstring sub_key = checked(name, path);
        const std::string sub_path = path + "\\" + os::to_utf8(sub_key);
        take_key(snapshot, checked(os::open_key(key, sub_key, os::key_access::read), sub_path),
                 sub_path);
    }
}

void take_registry(machine_snapshot& snapshot) {
    const std::pair<os::predefined_key, const char*> roots[] = {
        {os::predefined_key::local_machine, "HKEY_LOCAL_MACHINE"},
        {os::predefined_key::current_user, "HKEY_CURRENT_USER"},
    };
    for (const auto& [root, name] : roots)
        take_key(snapshot, checked(os::open_key(root, L"", os::key_access::read), name), name);
}

std::string describe(const snapshot_entry& entry) {
    static const char* const kinds[] = {"folder", "file", "link"};
    std::ostringstream text;
    text << kinds[static_cast<int>(entry.kind)] << ", attributes 0x" << std::hex << entry.attributes
         << std::dec;
    if (entry.kind == snapshot_entry::entry_kind::file)
        text << ", " << entry.content.size() << " bytes";
    else if (entry.kind == snapshot_entry::entry_kind::link)
        text << " to " << entry.content;
    return text.str();
}

std::string describe(const snapshot_value& value) {
    std::ostringstream text;
    text << "type " << value.type << ", " << value.bytes.size() << " bytes";
    return text.str();
}

std::string describe(const std::map<std::string, snapshot_value>& values) {
    return "key with " + std::to_string(values.size()) + " values";
}

// Walks two sorted maps side by side: what only one has is reported here, what both have goes
// to differ.
template <class Map, class Differ>
void compare(const Map& before, const Map& after, const std::string& prefix,
             std::ostringstream& out, Differ differ) {
    auto b = before.begin();
    auto a = after.begin();
    while (b != before.end() || a != after.end()) {
        if (a == after.end() || (b != before.end() && b->first < a->first)) {
            out << prefix << b->first << ": gone (was " << describe(b->second) << ")\n";
            ++b;
        } else if (b == before.end() || a->first < b->first) {
            out << prefix << a->first << ": new (" << describe(a->second) << ")\n";
            ++a;
        } else {
            differ(a->first, b->second, a->second);
            ++b;
            ++a;
        }
    }
}

} // namespace

machine_snapshot take_machine_snapshot() {
    machine_snapshot snapshot;
    take_files(snapshot);
    take_registry(snapshot);
    return snapshot;
}

std::string snapshot_differences(const machine_snapshot& before, const machine_snapshot& after) {
    std::ostringstream out;
    compare(before.entries, after.entries, "", out,
            [&](const std::string& path, const snapshot_entry& was, const snapshot_entry& is) {
                if (was == is)
                    return;
                out << path << ": " << describe(was) << " became " << describe(is);
                if (was.kind == is.kind && was.content != is.content)
                    out << " (content differs)";
                out << "\n";
            });
    compare(before.keys, after.keys, "", out,
            [&](const std::string& key, const auto& was, const auto& is) {
                compare(was, is, key + " value ", out,
                        [&](const std::string& name, const snapshot_value& old_value,
                            const snapshot_value& new_value) {
                            if (old_value != new_value)
                                out << key << " value " << name << ": " << describe(old_value)
                                    << " became " << describe(new_value) << "\n";
                        });
            });
    return out.str();
}

} // namespace qv_test
