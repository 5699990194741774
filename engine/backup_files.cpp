#include "engine/backup_files.h"

#include "platform/os/file_attributes.h"
#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"

namespace qv {
namespace os = platform::os;
namespace {

// GetTempPathW's result must leave room for a temporary file name in a MAX_PATH buffer.
constexpr std::size_t max_temporary_folder = 246;

bool is_symbolic_link(std::uint32_t attributes) {
    return (attributes & os::file_attribute::reparse_point) != 0;
}

} // namespace

os::result<std::wstring> reserve_backup_name() {
    const auto folder = os::temporary_folder();
    if (!folder)
        return folder.error();
    if (folder->size() > max_temporary_folder)
        return os::win32_error::filename_exced_range;
    return os::temporary_file_name(*folder, L"qv");
}

os::result<std::wstring> backup_file(std::wstring_view path, backup_method method) {
    const auto attributes = os::get_file_attributes(path, os::symlinks::refuse);
    if (!attributes)
        return attributes.error();
    if (method == backup_method::copy && is_symbolic_link(*attributes))
        return os::win32_error::access_denied;
    auto name = reserve_backup_name();
    if (!name)
        return name;
    // Both take the reserved name's place, so it is never free for another file meanwhile; a
    // move or copy keeps the attributes, read-only included.
    const std::error_code error = method == backup_method::move
                                      ? os::move_file_replace(path, *name)
                                      : os::copy_file(path, *name, os::overwrite::allow);
    if (error) {
        os::delete_file(*name);
        return error;
    }
    return name;
}

std::error_code restore_backup(std::wstring_view backup, std::wstring_view path) {
    return os::move_file(backup, path);
}

std::error_code force_delete_file(std::wstring_view path) {
    const auto attributes = os::get_file_attributes(path, os::symlinks::refuse);
    if (!attributes) {
        const std::error_code error = attributes.error();
        return error == os::win32_error::file_not_found || error == os::win32_error::path_not_found
                   ? std::error_code()
                   : error;
    }
    const bool read_only = (*attributes & os::file_attribute::readonly) != 0;
    if (read_only) {
        if (auto error = os::set_file_attributes(path, *attributes & ~os::file_attribute::readonly,
                                                 os::symlinks::refuse))
            return error;
    }
    const std::error_code error = os::delete_file(path);
    if (error && read_only)
        os::set_file_attributes(path, *attributes, os::symlinks::refuse);
    return error;
}

} // namespace qv
