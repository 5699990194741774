#include "platform/os/directories.h"

#include "platform/os/file_faults.h"
#include "platform/os/full_path.h"
#include "platform/os/host_descriptor.h"

#include <cerrno>
#include <unistd.h>

namespace platform::os {
using namespace files_detail;

std::error_code create_directory(std::wstring_view path) {
    if (auto failure = begin_file_operation())
        return failure;
    std::wstring full = full_path_name(path);
    if (classify_path(full) != path_kind::verbatim) {
        while (full.size() > 3 && (full.back() == L'\\' || full.back() == L'/'))
            full.pop_back();
        if (full.size() > max_directory_path)
            return win32_error::filename_exced_range;
    }
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    if (::mkdir(host->c_str(), 0777) != 0)
        return errno == ENOENT ? win32_error::path_not_found : lookup_error(*host, errno);
    return {};
}

std::error_code remove_directory(std::wstring_view path) {
    if (auto failure = begin_file_operation())
        return failure;
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    auto status = status_of(*host, symlinks::refuse);
    if (!status)
        return status.error();
    if (S_ISLNK(status->st_mode)) {
        auto target = status_of(*host, symlinks::follow);
        if (!target || !S_ISDIR(target->st_mode))
            return win32_error::directory;
        if (::unlink(host->c_str()) != 0)
            return lookup_error(*host, errno);
        return {};
    }
    if (!S_ISDIR(status->st_mode))
        return win32_error::directory;
    if (::rmdir(host->c_str()) != 0) {
        if (errno == ENOTEMPTY || errno == EEXIST)
            return win32_error::dir_not_empty;
        return lookup_error(*host, errno);
    }
    return {};
}

} // namespace platform::os
