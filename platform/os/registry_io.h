#pragma once
// Plain POSIX access to the registry's files, each descriptor owned by one object.

#include "platform/os/result.h"

#include <string>
#include <string_view>

namespace platform::os {

class registry_fd {
public:
    explicit registry_fd(int descriptor = -1) noexcept : descriptor_(descriptor) {}
    ~registry_fd();
    registry_fd(registry_fd&& other) noexcept : descriptor_(other.descriptor_) {
        other.descriptor_ = -1;
    }
    registry_fd& operator=(registry_fd&& other) noexcept;
    registry_fd(const registry_fd&) = delete;
    registry_fd& operator=(const registry_fd&) = delete;

    int get() const { return descriptor_; }
    explicit operator bool() const { return descriptor_ >= 0; }

private:
    int descriptor_;
};

// Everything from the descriptor's position to the end.
result<std::string> read_to_end(int descriptor);
std::error_code write_all(int descriptor, std::string_view bytes);
// Makes a rename or creation in the folder durable.
std::error_code sync_folder(const std::string& folder);

} // namespace platform::os
