#include "platform/os/registry_io.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::os {

registry_fd::~registry_fd() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

registry_fd& registry_fd::operator=(registry_fd&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

result<std::string> read_to_end(int descriptor) {
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(descriptor, buffer, sizeof buffer);
        if (count == 0)
            return bytes;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return last_errno_error();
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::error_code write_all(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(descriptor, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return last_errno_error();
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return {};
}

std::error_code sync_folder(const std::string& folder) {
    const registry_fd descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!descriptor || ::fsync(descriptor.get()) != 0)
        return last_errno_error();
    return {};
}

} // namespace platform::os
