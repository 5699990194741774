#include "engine/file_replacement.h"

#include "engine/backup_files.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"
#include "platform/os/windows_path.h"

#include <span>

namespace qv {
namespace os = platform::os;
namespace {

std::error_code fill(std::wstring_view path, std::string_view bytes, std::uint32_t attributes) {
    auto file = os::create_file(path, os::file_access::generic_write, os::file_share::none,
                                os::creation::create_always, os::file_attribute::normal,
                                os::symlinks::refuse);
    if (!file)
        return file.error();
    if (auto error = file->write(std::as_bytes(std::span(bytes.data(), bytes.size()))))
        return error;
    if (auto error = file->flush())
        return error;
    if (auto error = file->close())
        return error;
    // Given before the rename, so that the file appears complete with them or not at all.
    return os::set_file_attributes(path, attributes, os::symlinks::refuse);
}

// A read-only file cannot be replaced: its read-only attribute goes for the rename and comes
// back when the rename fails.
std::error_code move_over(std::wstring_view staged, std::wstring_view path) {
    const auto old = os::get_file_attributes(path, os::symlinks::refuse);
    const bool read_only = old && (*old & os::file_attribute::readonly) != 0;
    if (read_only) {
        if (auto error = os::set_file_attributes(path, *old & ~os::file_attribute::readonly,
                                                 os::symlinks::refuse))
            return error;
    }
    const std::error_code error = os::move_file_replace(staged, path);
    if (error && read_only)
        os::set_file_attributes(path, *old, os::symlinks::refuse);
    return error;
}

} // namespace

std::error_code replace_file_contents(std::wstring_view path, std::string_view bytes,
                                      std::uint32_t attributes) {
    const std::wstring folder = os::drop_last_component(path);
    if (folder.empty())
        return os::make_error_code(os::win32_error::invalid_name);
    const auto staged = os::temporary_file_name(folder, L"qv");
    if (!staged)
        return staged.error();
    std::error_code error = fill(*staged, bytes, attributes);
    if (!error)
        error = move_over(*staged, path);
    if (error)
        force_delete_file(*staged);
    return error;
}

} // namespace qv
