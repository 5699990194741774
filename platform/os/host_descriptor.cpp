#include "platform/os/host_descriptor.h"

#include "platform/os/machine.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace platform::os::files_detail {
namespace fs = std::filesystem;

unique_descriptor::~unique_descriptor() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

unique_descriptor::unique_descriptor(unique_descriptor&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

unique_descriptor& unique_descriptor::operator=(unique_descriptor&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

std::error_code unique_descriptor::close() {
    if (descriptor_ < 0)
        return win32_error::invalid_handle;
    // The descriptor is gone whatever close() says; EINTR must not lead to a second close.
    const int closed = ::close(std::exchange(descriptor_, -1));
    if (closed != 0 && errno != EINTR)
        return last_errno_error();
    return {};
}

result<fs::path> resolve_host(std::wstring_view windows_path) {
    try {
        auto host = host_path(windows_path);
        if (!host)
            return host.error();
        if (host->parent_path() == machine_root() / "dosdevices") {
            std::error_code error;
            fs::path drive = fs::canonical(*host, error);
            if (error)
                return win32_error::path_not_found;
            return drive;
        }
        return host;
    } catch (const machine_error& error) {
        return error.code();
    }
}

std::error_code lookup_error(const fs::path& host, int error_number) {
    if (error_number == ENOENT) {
        struct stat parent {};
        if (::stat(host.parent_path().c_str(), &parent) == 0 && S_ISDIR(parent.st_mode))
            return win32_error::file_not_found;
        return win32_error::path_not_found;
    }
    if (error_number == ENOTDIR)
        return win32_error::path_not_found;
    return error_from_errno(error_number);
}

result<unique_descriptor> open_host(const fs::path& host, int flags, mode_t mode) {
    int descriptor = -1;
    do {
        descriptor = ::open(host.c_str(), flags | O_CLOEXEC, mode);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0)
        return lookup_error(host, errno);
    return unique_descriptor(descriptor);
}

result<struct stat> status_of(const fs::path& host, symlinks links) {
    struct stat status {};
    const int done =
        links == symlinks::refuse ? ::lstat(host.c_str(), &status) : ::stat(host.c_str(), &status);
    if (done != 0)
        return lookup_error(host, errno);
    return status;
}

result<struct stat> status_of(const unique_descriptor& descriptor) {
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0)
        return last_errno_error();
    return status;
}

} // namespace platform::os::files_detail
