#include "platform/os/module_file.h"

#include "platform/os/binary_view.h"
#include "platform/os/files.h"

namespace platform::os {

result<module_file> module_file::open(std::wstring_view path) {
    auto file =
        create_file(path, file_access::generic_read, file_share::read, creation::open_existing);
    if (!file)
        return file.error();
    auto size = file->size();
    if (!size)
        return size.error();
    return module_file(std::move(*file), *size);
}

std::vector<std::byte> module_file::read(std::uint64_t offset, std::uint64_t count) {
    if (offset > size_ || count > size_ - offset)
        throw binary_format_error(win32_error::bad_exe_format);
    auto position = file_.seek(static_cast<std::int64_t>(offset), seek_origin::begin);
    if (!position)
        throw std::system_error(position.error());
    std::vector<std::byte> bytes(static_cast<std::size_t>(count));
    std::span<std::byte> rest(bytes);
    while (!rest.empty()) {
        auto got = file_.read(rest);
        if (!got)
            throw std::system_error(got.error());
        // The file shrank since it was opened: what the headers promised is not there.
        if (*got == 0)
            throw binary_format_error(win32_error::bad_exe_format);
        rest = rest.subspan(*got);
    }
    return bytes;
}

} // namespace platform::os
