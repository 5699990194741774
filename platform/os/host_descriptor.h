#pragma once
// Host-side plumbing shared by the file layer: an owned descriptor, the host path of a Windows
// path, and the Windows code of a failed lookup.

#include "platform/os/file_access.h"
#include "platform/os/result.h"

#include <filesystem>
#include <string_view>
#include <sys/stat.h>

namespace platform::os::files_detail {

// Owns a host file descriptor and closes it when it goes.
class unique_descriptor {
public:
    unique_descriptor() = default;
    explicit unique_descriptor(int descriptor) : descriptor_(descriptor) {}
    ~unique_descriptor();
    unique_descriptor(unique_descriptor&& other) noexcept;
    unique_descriptor& operator=(unique_descriptor&& other) noexcept;
    unique_descriptor(const unique_descriptor&) = delete;
    unique_descriptor& operator=(const unique_descriptor&) = delete;

    int get() const { return descriptor_; }
    bool valid() const { return descriptor_ >= 0; }
    // Closes now and reports what close() said.
    std::error_code close();

private:
    int descriptor_ = -1;
};

// The host entry a Windows path names. A drive root ("C:\") is given as the folder its drive
// link leads to, so that the root itself is never mistaken for a symbolic link. Failures of the
// machine folder come back as their codes.
result<std::filesystem::path> resolve_host(std::wstring_view windows_path);

// The Windows code of a lookup of host that failed with error_number: a missing last component
// is ERROR_FILE_NOT_FOUND, a missing or non-folder component on the way ERROR_PATH_NOT_FOUND.
std::error_code lookup_error(const std::filesystem::path& host, int error_number);

// open(2) retried on EINTR, close-on-exec; the error already translated by lookup_error.
result<unique_descriptor> open_host(const std::filesystem::path& host, int flags,
                                    mode_t mode = 0666);

// stat(2), or lstat(2) when links are refused, of host; failures translated by lookup_error.
result<struct stat> status_of(const std::filesystem::path& host, symlinks links);

result<struct stat> status_of(const unique_descriptor& descriptor);

} // namespace platform::os::files_detail
