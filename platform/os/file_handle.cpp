#include "platform/os/file_handle.h"

#include "platform/os/file_access.h"
#include "platform/os/file_faults.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::os {

file_handle::file_handle(files_detail::unique_descriptor descriptor, std::uint32_t access)
    : descriptor_(std::move(descriptor)), access_(access) {}

std::error_code file_handle::usable_for(std::uint32_t needed) const {
    if (!is_open())
        return win32_error::invalid_handle;
    if ((access_ & needed) != needed)
        return win32_error::access_denied;
    return {};
}

result<std::size_t> file_handle::read(std::span<std::byte> buffer) {
    if (auto error = usable_for(file_access::generic_read))
        return error;
    if (auto failure = begin_file_operation())
        return failure;
    ssize_t count = -1;
    do {
        count = ::read(descriptor_.get(), buffer.data(), buffer.size());
    } while (count < 0 && errno == EINTR);
    if (count < 0)
        return last_errno_error();
    return static_cast<std::size_t>(count);
}

std::error_code file_handle::write(std::span<const std::byte> data) {
    if (auto error = usable_for(file_access::generic_write))
        return error;
    if (auto failure = begin_file_operation())
        return failure;
    while (!data.empty()) {
        const ssize_t count = ::write(descriptor_.get(), data.data(), data.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return last_errno_error();
        }
        data = data.subspan(static_cast<std::size_t>(count));
    }
    return {};
}

result<std::uint64_t> file_handle::seek(std::int64_t distance, seek_origin origin) {
    if (auto error = usable_for(0))
        return error;
    const int whence = origin == seek_origin::begin     ? SEEK_SET
                       : origin == seek_origin::current ? SEEK_CUR
                                                        : SEEK_END;
    const off_t position = ::lseek(descriptor_.get(), static_cast<off_t>(distance), whence);
    if (position < 0)
        return last_errno_error();
    return static_cast<std::uint64_t>(position);
}

result<std::uint64_t> file_handle::size() const {
    if (auto error = usable_for(0))
        return error;
    struct stat status {};
    if (::fstat(descriptor_.get(), &status) != 0)
        return last_errno_error();
    return static_cast<std::uint64_t>(status.st_size);
}

std::error_code file_handle::flush() {
    if (auto error = usable_for(0))
        return error;
    if (::fsync(descriptor_.get()) != 0)
        return last_errno_error();
    return {};
}

std::error_code file_handle::close() {
    return descriptor_.close();
}

} // namespace platform::os
