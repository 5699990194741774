// The shell path functions that look at the machine or the process's current directory.

#include "platform/os/shell_path.h"

#include "platform/os/full_path.h"
#include "platform/os/machine.h"

#include <sys/stat.h>

namespace platform::os {
namespace {

std::optional<struct stat> status_of(std::wstring_view path) {
    if (path.empty())
        return std::nullopt;
    auto host = host_path(path);
    if (!host)
        return std::nullopt;
    struct stat status {};
    if (::stat(host->c_str(), &status) != 0)
        return std::nullopt;
    return status;
}

} // namespace

std::optional<std::wstring> path_search_and_qualify(std::wstring_view path) {
    if (path.empty())
        return std::nullopt;
    std::wstring full = full_path_name(path);
    if (full.size() >= max_path)
        return std::nullopt;
    return full;
}

bool path_is_directory(std::wstring_view path) {
    const auto status = status_of(path);
    return status && S_ISDIR(status->st_mode);
}

bool path_file_exists(std::wstring_view path) {
    const auto status = status_of(path);
    if (!status)
        return false;
    // A trailing separator names a folder: a file spelled with one is not found.
    const bool names_folder = path.back() == L'\\' || path.back() == L'/';
    return S_ISDIR(status->st_mode) || !names_folder;
}

} // namespace platform::os
