#include "app/registry_reader.h"

#include "platform/os/unicode.h"

#include <system_error>

namespace qv {
namespace os = platform::os;

std::optional<os::registry_key> open_key(os::predefined_key root, std::wstring_view sub_key) {
    auto key = os::open_key(root, sub_key, os::key_access::maximum_allowed);
    if (key)
        return std::move(*key);
    if (key.error() == os::win32_error::file_not_found)
        return std::nullopt;
    throw std::system_error(key.error(), "cannot open a registry key");
}

bool read_string(const os::registry_key& key, std::wstring_view name, std::wstring& text) {
    auto info = os::query_value_info(key, name);
    if (!info) {
        if (info.error() == os::win32_error::file_not_found)
            return false;
        throw std::system_error(info.error(), "cannot query a registry value");
    }
    if ((info->type != os::value_type::sz && info->type != os::value_type::expand_sz) ||
        info->size % 2 != 0)
        return false;
    if (info->size == 0) {
        text.clear();
        return true;
    }
    auto value = os::query_value(key, name);
    if (!value) {
        if (value.error() == os::win32_error::file_not_found)
            return false;
        throw std::system_error(value.error(), "cannot read a registry value");
    }
    const std::string& bytes = value->bytes;
    if (bytes.size() < 2 || bytes[bytes.size() - 1] != 0 || bytes[bytes.size() - 2] != 0)
        return false;
    text = os::from_utf16le(std::string_view(bytes).substr(0, bytes.size() - 2));
    return true;
}

} // namespace qv
