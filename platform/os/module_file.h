#pragma once
// A file of the machine opened to read its resources (as LoadLibraryExW with
// LOAD_LIBRARY_AS_DATAFILE does): others may read it meanwhile, not change it. Only the parts the
// resources need are read.

#include "platform/os/file_handle.h"
#include "platform/os/result.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform::os {

class module_file {
public:
    static result<module_file> open(std::wstring_view path);

    std::uint64_t size() const { return size_; }

    // The count bytes at offset. Bytes beyond the end of the file throw binary_format_error
    // (ERROR_BAD_EXE_FORMAT); a failed read throws std::system_error with its code.
    std::vector<std::byte> read(std::uint64_t offset, std::uint64_t count);

private:
    module_file(file_handle file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    file_handle file_;
    std::uint64_t size_;
};

} // namespace platform::os
