#pragma once
// The installation journal and its "Uninstall.ulog" file: what an installation changed, for its
// rollback, for the uninstaller and for the next installer run.

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::os {
class registry_key;
}

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
    // Where the backup of a file or link was taken from and goes back to. A link's record gets
    // its own path only once the new link exists, and that may differ from the earlier one's.
    std::wstring backup_origin;

    friend bool operator==(const log_record&, const log_record&) = default;
};

// How add_file sets aside a file that is already at the path.
enum class existing_file {
    // Moved to the backup: the new file takes its place.
    move_to_backup,
    // Copied to the backup and left in place (shared data the installation keeps).
    copy_to_backup,
};

// add_shortcut's which: the journal kind is menu_link + which.
enum class shortcut_kind : std::int32_t { menu = 0, uninstall = 1, desktop = 2 };

// settle_pending's outcome of the step a pending record stands for.
enum class action_outcome { not_done, done };

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

    // Creates the missing folders of folder_path, from the first one below the root, recording
    // each; stops at the first one that cannot be created and returns its error.
    std::error_code add_folders(std::wstring_view folder_path);

    // Records a payload file about to be written, after creating its folders and setting aside
    // a file already at the path. When that file cannot be set aside the error is returned and
    // nothing is recorded for the path, so that a rollback never deletes a file it cannot put
    // back; the caller must then not write it.
    std::error_code add_file(std::wstring_view path, std::int32_t entry_kind_value,
                             existing_file existing);

    // Records a shortcut about to be created in folder, after creating the folder and moving
    // the earlier installation's link of the same kind to a backup. The caller gives the record
    // the link's path, best before making it, so that a rollback also removes a link left
    // half-written. When the earlier link cannot be moved the error is returned and nothing is
    // recorded.
    std::error_code add_shortcut(shortcut_kind which, std::wstring_view folder);

    // Records the product's Uninstall key before its values are written. existing_key is the
    // opened key when it existed before, null when it was just created. An existing key is saved
    // to a backup first; when that fails the error is returned and nothing is recorded, since a
    // rollback would otherwise delete a key it cannot give back.
    std::error_code add_uninstall_key(const platform::os::registry_key* existing_key);

    // Records the product's registration run about to start.
    void add_registration();

    // Gives the pending record its outcome; does nothing when no record is pending.
    void settle_pending(action_outcome outcome);

    // Undoes this run's records from the last to the first and empties them: new files and
    // links deleted, backups moved back with their attributes, created folders removed when
    // empty, the Uninstall key restored or deleted. A step that fails does not stop the others;
    // its backup stays in the temporary folder and the first failure is returned.
    std::error_code rollback();

    // Merges the earlier log's records into this run's, writes the log file (through a temporary
    // file renamed into place, replacing a read-only earlier log), gives it the attributes
    // read-only, archive and not-content-indexed, and only then deletes the backups, which the
    // installation no longer needs. On failure the earlier log and every backup stay.
    std::error_code write(std::wstring_view log_path, std::wstring_view install_folder,
                          std::wstring_view shortcut_folder);
};

} // namespace qv
