#include "product/uninstaller/entry_removal.h"

#include "platform/os/directories.h"
#include "platform/os/error.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/windows_path.h"

#include <optional>
#include <string>
#include <vector>

namespace uninstaller {
namespace os = platform::os;
namespace {

namespace attribute = os::file_attribute;

bool is_gone(const std::error_code& error) {
    return error == os::win32_error::file_not_found || error == os::win32_error::path_not_found;
}

// The entry's own attributes, a link reporting itself; none when it does not exist. The
// folders on the way must all be real folders.
os::result<std::optional<std::uint32_t>> own_attributes(std::wstring_view path) {
    std::vector<std::wstring> below_root;
    std::wstring leading;
    for (const std::wstring& element : os::path_elements(path)) {
        leading = os::path_join(leading, element);
        if (!element.empty() && !os::path_filename(leading).empty())
            below_root.push_back(leading);
    }
    for (std::size_t i = 0; i < below_root.size(); ++i) {
        const auto attributes = os::get_file_attributes(below_root[i], os::symlinks::refuse);
        if (!attributes) {
            if (is_gone(attributes.error()))
                return std::optional<std::uint32_t>{};
            return attributes.error();
        }
        if (i + 1 == below_root.size())
            return std::optional<std::uint32_t>{*attributes};
        if ((*attributes & attribute::reparse_point) != 0)
            return os::make_error_code(os::win32_error::access_denied);
    }
    return std::optional<std::uint32_t>{};
}

} // namespace

std::error_code remove_installed_file(std::wstring_view path) {
    const auto attributes = own_attributes(path);
    if (!attributes)
        return attributes.error();
    if (!*attributes)
        return {};
    const std::uint32_t found = **attributes;
    const bool read_only =
        (found & attribute::reparse_point) == 0 && (found & attribute::readonly) != 0;
    if (read_only) {
        const std::uint32_t writable = found & attribute::settable & ~attribute::readonly;
        if (std::error_code error = os::set_file_attributes(path, writable, os::symlinks::refuse))
            return error;
    }
    const std::error_code error = os::delete_file(path);
    if (!error || is_gone(error))
        return {};
    if (read_only)
        os::set_file_attributes(path, found & attribute::settable, os::symlinks::refuse);
    return error;
}

os::result<folder_outcome> remove_folder_if_empty(std::wstring_view path) {
    const auto attributes = own_attributes(path);
    if (!attributes)
        return attributes.error();
    if (!*attributes)
        return folder_outcome::absent;
    const std::error_code error = os::remove_directory(path);
    if (!error)
        return folder_outcome::removed;
    if (error == os::win32_error::dir_not_empty)
        return folder_outcome::not_empty;
    if (is_gone(error))
        return folder_outcome::absent;
    return error;
}

} // namespace uninstaller
