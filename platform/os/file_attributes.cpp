#include "platform/os/file_attributes.h"

#include "platform/os/dos_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/host_descriptor.h"

#include <fcntl.h>

namespace platform::os {
using namespace files_detail;

result<std::uint32_t> get_file_attributes(std::wstring_view path, symlinks links) {
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    auto status = status_of(*host, links);
    if (!status)
        return status.error();
    if (S_ISLNK(status->st_mode)) {
        struct stat target {};
        const bool to_folder = ::stat(host->c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        return file_attribute::reparse_point |
               (to_folder ? file_attribute::directory : file_attribute::archive);
    }
    return reported_attributes(*status, stored_attributes(*host, links));
}

std::error_code set_file_attributes(std::wstring_view path, std::uint32_t attributes,
                                    symlinks links) {
    if (auto failure = begin_file_operation())
        return failure;
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    // Changed through a descriptor, never through the path, so that a link put in its place
    // meanwhile cannot redirect the change.
    const int flags = O_RDONLY | O_NONBLOCK | (links == symlinks::refuse ? O_NOFOLLOW : 0);
    auto descriptor = open_host(*host, flags);
    if (!descriptor) {
        if (links == symlinks::refuse && descriptor.error() == win32_error::cant_resolve_filename)
            return win32_error::access_denied;
        return descriptor.error();
    }
    auto status = status_of(*descriptor);
    if (!status)
        return status.error();
    return apply_attributes(descriptor->get(), *status, attributes);
}

} // namespace platform::os
