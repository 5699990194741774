#pragma once
// What an installation may change on a machine, captured so that two moments can be compared:
// every entry under drive C with its kind, attributes and content (a link's target), and every
// registry key with its values. An undone installation must leave it as it found it.

#include <cstdint>
#include <map>
#include <string>

namespace qv_test {

struct snapshot_entry {
    enum class entry_kind { folder, file, link } kind = entry_kind::file;
    std::uint32_t attributes = 0;
    // A file's bytes, a link's target; empty for a folder.
    std::string content;
    friend bool operator==(const snapshot_entry&, const snapshot_entry&) = default;
};

struct snapshot_value {
    std::uint32_t type = 0;
    std::string bytes;
    friend bool operator==(const snapshot_value&, const snapshot_value&) = default;
};

struct machine_snapshot {
    // By Windows path: "C:\Program Files\Quorvane".
    std::map<std::string, snapshot_entry> entries;
    // By key path from the hive's name ("HKEY_LOCAL_MACHINE\Software\Quorvane"), the values by
    // name.
    std::map<std::string, std::map<std::string, snapshot_value>> keys;
    friend bool operator==(const machine_snapshot&, const machine_snapshot&) = default;
};

// The machine QV_MACHINE names, as it is now.
machine_snapshot take_machine_snapshot();

// One line per difference, naming the entry, key or value and how it differs; empty when the
// snapshots are equal.
std::string snapshot_differences(const machine_snapshot& before, const machine_snapshot& after);

} // namespace qv_test
