#include "engine/backup_files.h"
#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"

#include "platform/os/directories.h"
#include "platform/os/error.h"

namespace qv {
namespace os = platform::os;
namespace {

// A folder that still holds something (a file that could not be deleted, or one another
// program put there) stays; that is not a failure of its own.
std::error_code remove_created_folder(const log_record& record) {
    const std::error_code error = os::remove_directory(record.path);
    if (error == os::win32_error::dir_not_empty || error == os::win32_error::file_not_found ||
        error == os::win32_error::path_not_found)
        return {};
    return error;
}

// What the installation put in place goes; what it replaced comes back.
std::error_code undo_file(const log_record& record) {
    if (!record.path.empty()) {
        if (auto error = force_delete_file(record.path))
            return error;
    }
    if (record.backup.empty())
        return {};
    return restore_backup(record.backup, record.backup_origin);
}

std::error_code undo_uninstall_key(const log_record& record) {
    return record.backup.empty() ? delete_uninstall_key() : restore_uninstall_key(record.backup);
}

std::error_code undo(const log_record& record) {
    switch (record.kind) {
    case log_record_kind::folder:
        return remove_created_folder(record);
    case log_record_kind::file:
    case log_record_kind::menu_link:
    case log_record_kind::uninstall_link:
    case log_record_kind::desktop_link:
        return undo_file(record);
    case log_record_kind::uninstall_key:
        return undo_uninstall_key(record);
    case log_record_kind::registration:
        // What the product registered for itself is its own to undo.
        return {};
    }
    return {};
}

} // namespace

std::error_code uninstall_log::rollback() {
    std::error_code first_failure;
    while (!records.empty()) {
        const std::error_code error = undo(records.back());
        if (error && !first_failure)
            first_failure = error;
        records.pop_back();
    }
    pending = false;
    return first_failure;
}

} // namespace qv
