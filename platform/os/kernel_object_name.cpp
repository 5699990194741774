#include "platform/os/kernel_object_name.h"

#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include <climits>
#include <string>

namespace platform::os::kernel_detail {
namespace {

bool is_kept(char c, bool first) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
        return true;
    // A leading dot would make ".", ".." or a hidden file of the name.
    return c == '_' || c == '{' || c == '}' || c == '-' || (c == '.' && !first);
}

// Every byte outside the kept set becomes %XX, '%' included, so that distinct names never share
// a file.
std::string escaped(std::wstring_view name) {
    static constexpr char hex[] = "0123456789ABCDEF";
    const std::string bytes = to_utf8(name);
    std::string file;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (is_kept(c, i == 0)) {
            file += c;
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        file += '%';
        file += hex[byte >> 4];
        file += hex[byte & 0x0F];
    }
    return file;
}

} // namespace

result<std::filesystem::path> object_file_path(std::wstring_view name) {
    if (name.size() > max_path)
        return win32_error::filename_exced_range;
    for (std::wstring_view prefix : {L"Global\\", L"Local\\"}) {
        if (name.starts_with(prefix)) {
            name.remove_prefix(prefix.size());
            break;
        }
    }
    if (name.empty())
        return win32_error::invalid_name;
    if (name.find(L'\\') != std::wstring_view::npos)
        return win32_error::path_not_found;
    const std::string file = escaped(name);
    if (file.size() > NAME_MAX)
        return win32_error::filename_exced_range;
    try {
        return machine_root() / ".kernel" / file;
    } catch (const machine_error& error) {
        return error.code();
    }
}

} // namespace platform::os::kernel_detail
