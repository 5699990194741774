#pragma once
// The installation journal and its "Uninstall.ulog" file: what an installation changed, for its
// rollback, for the uninstaller and for the next installer run.

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

enum class log_record_kind : std::int32_t {
    folder = 0,
    file = 1,
    menu_link = 2,
    uninstall_link = 3,
    desktop_link = 4,
    uninstall_key = 5,
    registration = 6,
};

struct log_record {
    log_record_kind kind = log_record_kind::folder;
    // Folder, file or link path; empty for uninstall_key and registration until written.
    std::wstring path;
    // Temporary file holding what this action replaced; empty when there is none.
    std::wstring backup;
    bool done = false;
    // The payload entry kind of a file record; -1 for every other record.
    std::int32_t entry_kind_value = -1;

    friend bool operator==(const log_record&, const log_record&) = default;
};

class uninstall_log {
public:
    // "Install Path" and "Shortcut Path" of the earlier log, when those folders exist.
    std::wstring previous_install_folder;
    std::wstring previous_shortcut_folder;
    // Records of the earlier log in file order (never with a backup).
    std::list<log_record> previous_records;
    // This run's records in the order they were added.
    std::list<log_record> records;
    // The last record of records still waits for its outcome.
    bool pending = false;
    // Product display name of the earlier log's "Install" line; empty if none.
    std::wstring previous_product;

    // Loads an earlier log. Never fails: a missing file, a wrong header, another version or a
    // malformed line ends the reading with what was read so far. Without a path it only empties
    // the two previous folders.
    void read(std::optional<std::wstring_view> log_path);

    // An earlier completed file record names exactly this path (letter case included).
    bool is_installed_file(std::wstring_view path) const;
};

} // namespace qv
