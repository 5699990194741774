#pragma once
// Shared pieces of the registry tests.

#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include <string_view>
#include <system_error>

namespace registry_test {

inline std::error_code code_of(platform::os::win32_error error) {
    return platform::os::make_error_code(error);
}

// Creates (or opens) a key with full access; a failure ends the test with the path named.
inline platform::os::registry_key create(platform::os::predefined_key root,
                                         std::wstring_view path) {
    namespace os = platform::os;
    os::result<os::created_key> created = os::create_key(root, path, os::key_access::all_access);
    if (!created)
        throw std::system_error(created.error(), os::to_utf8(path));
    return std::move(created->key);
}

} // namespace registry_test
