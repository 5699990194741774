#pragma once
// A file or folder of the machine held open by a walk that follows no symbolic link below its
// drive's root. The shared folders are writable by every local user while the installer runs
// as administrator: a link planted there must never steer a change to an object elsewhere, so
// the object is changed through this descriptor, never by its name again.

#include "support/access_mapping.h"

#include "platform/os/host_descriptor.h"

#include <string>
#include <string_view>
#include <sys/stat.h>

namespace qv {

class pinned_object {
public:
    // Throws the HRESULT of the failure: a symbolic link anywhere below the drive's root, or an
    // object that is neither a file nor a folder, is E_ACCESSDENIED; a missing object
    // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), a missing folder on the way ERROR_PATH_NOT_FOUND.
    static pinned_object open(std::wstring_view windows_path);

    object_kind kind() const {
        return S_ISDIR(status_.st_mode) ? object_kind::folder : object_kind::file;
    }
    const struct stat& status() const { return status_; }
    int descriptor() const { return descriptor_.get(); }
    // "/proc/self/fd/N": for the calls that take a path, it reaches exactly this object.
    std::string proc_path() const;

private:
    pinned_object(platform::os::files_detail::unique_descriptor descriptor,
                  const struct stat& status)
        : descriptor_(std::move(descriptor)), status_(status) {}

    platform::os::files_detail::unique_descriptor descriptor_;
    struct stat status_;
};

} // namespace qv
