#include "platform/os/file_replacement.h"

#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/temporary_files.h"
#include "platform/os/windows_path.h"

#include <string>

namespace platform::os {
namespace {

// A temporary file that is deleted unless it was moved into place.
class pending_temporary {
public:
    explicit pending_temporary(std::wstring path) : path_(std::move(path)) {}
    ~pending_temporary() {
        if (!path_.empty())
            delete_file(path_);
    }
    pending_temporary(const pending_temporary&) = delete;
    pending_temporary& operator=(const pending_temporary&) = delete;

    const std::wstring& path() const { return path_; }
    void placed() { path_.clear(); }

private:
    std::wstring path_;
};

std::error_code write_content(const std::wstring& path, std::span<const std::byte> content) {
    // The temporary's name is known to others between its creation and this open: never follow
    // a symbolic link put in its place.
    auto file = create_file(path, file_access::generic_write, file_share::none,
                            creation::truncate_existing, file_attribute::normal, symlinks::refuse);
    if (!file)
        return file.error();
    if (auto error = file->write(content))
        return error;
    if (auto error = file->flush())
        return error;
    return file->close();
}

} // namespace

std::error_code replace_file_content(std::wstring_view path, std::span<const std::byte> content) {
    auto name = temporary_file_name(drop_last_component(path), L"qv");
    if (!name) {
        // The folder is missing or is a file: the path cannot be reached.
        if (name.error() == win32_error::directory)
            return win32_error::path_not_found;
        return name.error();
    }
    pending_temporary temporary(std::move(*name));
    if (auto error = write_content(temporary.path(), content))
        return error;
    if (auto error = move_file_replace(temporary.path(), path))
        return error;
    temporary.placed();
    return {};
}

} // namespace platform::os
