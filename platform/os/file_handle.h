#pragma once
// An open file of the machine (a HANDLE from CreateFileW): reads, writes and moves its pointer
// with Windows codes, and gives up its sharing when closed.

#include "platform/os/host_descriptor.h"
#include "platform/os/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <system_error>

namespace platform::os {

// SetFilePointerEx's dwMoveMethod
enum class seek_origin { begin = 0, current = 1, end = 2 };

class file_handle {
public:
    // A closed handle: every operation fails with ERROR_INVALID_HANDLE.
    file_handle() = default;
    // Takes over a descriptor opened and shared by create_file, with the access it was granted.
    file_handle(files_detail::unique_descriptor descriptor, std::uint32_t access);

    file_handle(file_handle&&) noexcept = default;
    file_handle& operator=(file_handle&&) noexcept = default;

    bool is_open() const { return descriptor_.valid(); }

    // ReadFile: the bytes read into buffer, 0 at the end of the file. Needs generic_read.
    result<std::size_t> read(std::span<std::byte> buffer);
    // WriteFile: all of data, or the error that stopped it. Needs generic_write.
    std::error_code write(std::span<const std::byte> data);
    // SetFilePointerEx: the new position. A position before the start fails.
    result<std::uint64_t> seek(std::int64_t distance, seek_origin origin);
    // GetFileSizeEx
    result<std::uint64_t> size() const;
    // FlushFileBuffers: the written data reaches the disk.
    std::error_code flush();
    // CloseHandle; the handle is closed afterwards whatever the outcome.
    std::error_code close();

private:
    std::error_code usable_for(std::uint32_t needed) const;

    files_detail::unique_descriptor descriptor_;
    std::uint32_t access_ = 0;
};

} // namespace platform::os
