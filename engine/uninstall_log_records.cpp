#include "engine/backup_files.h"
#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"

#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/shell_path.h"
#include "platform/os/windows_path.h"

#include <algorithm>

namespace qv {
namespace os = platform::os;
namespace {

// The folder paths are handled in MAX_PATH buffers.
constexpr std::size_t max_path = 260;

bool is_separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The root name and the separators after it: "C:\" in "C:\A\B".
std::size_t root_length(std::wstring_view path) {
    std::size_t length = os::path_root_name(path).size();
    while (length < path.size() && is_separator(path[length]))
        ++length;
    return length;
}

bool is_existing_folder(const std::wstring& path) {
    const auto attributes = os::get_file_attributes(path);
    return attributes && (*attributes & os::file_attribute::directory) != 0;
}

} // namespace

std::error_code uninstall_log::add_folders(std::wstring_view folder_path) {
    if (folder_path.size() >= max_path)
        return os::make_error_code(os::win32_error::filename_exced_range);
    for (std::size_t end = root_length(folder_path); end < folder_path.size();) {
        if (is_separator(folder_path[end])) {
            ++end;
            continue;
        }
        end = std::min(folder_path.find_first_of(L"\\/", end), folder_path.size());
        const std::wstring folder(folder_path.substr(0, end));
        if (is_existing_folder(folder))
            continue;
        if (auto error = os::create_directory(folder))
            return error;
        records.push_back({log_record_kind::folder, folder, {}, true, -1, {}});
    }
    return {};
}

std::error_code uninstall_log::add_file(std::wstring_view path, std::int32_t entry_kind_value,
                                        existing_file existing) {
    pending = false;
    std::wstring folder(path);
    if (os::path_remove_file_spec(folder)) {
        if (auto error = add_folders(folder))
            return error;
    }
    log_record record{log_record_kind::file, std::wstring(path), {}, false, entry_kind_value, {}};
    if (os::path_exists(path)) {
        const auto backup =
            backup_file(path, existing == existing_file::copy_to_backup ? backup_method::copy
                                                                        : backup_method::move);
        if (!backup)
            return backup.error();
        record.backup = *backup;
        record.backup_origin = path;
    }
    records.push_back(std::move(record));
    pending = true;
    return {};
}

std::error_code uninstall_log::add_shortcut(shortcut_kind which, std::wstring_view folder) {
    pending = false;
    if (auto error = add_folders(folder))
        return error;
    const auto kind = static_cast<log_record_kind>(
        static_cast<std::int32_t>(log_record_kind::menu_link) + static_cast<std::int32_t>(which));
    log_record record{kind, {}, {}, false, -1, {}};
    const auto earlier = std::ranges::find(previous_records, kind, &log_record::kind);
    if (earlier != previous_records.end() && os::path_exists(earlier->path)) {
        const auto backup = backup_file(earlier->path, backup_method::move);
        if (!backup)
            return backup.error();
        record.backup = *backup;
        record.backup_origin = earlier->path;
    }
    records.push_back(std::move(record));
    pending = true;
    return {};
}

std::error_code uninstall_log::add_uninstall_key(const os::registry_key* existing_key) {
    pending = false;
    log_record record{log_record_kind::uninstall_key, {}, {}, false, -1, {}};
    if (existing_key) {
        const auto backup = save_key_backup(*existing_key);
        if (!backup)
            return backup.error();
        record.backup = *backup;
    }
    records.push_back(std::move(record));
    pending = true;
    return {};
}

void uninstall_log::add_registration() {
    records.push_back({log_record_kind::registration, {}, {}, false, -1, {}});
    pending = true;
}

void uninstall_log::settle_pending(action_outcome outcome) {
    if (!pending || records.empty())
        return;
    pending = false;
    records.back().done = outcome == action_outcome::done;
}

} // namespace qv
