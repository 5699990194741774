#pragma once
// The installer's registry reader: a missing key or value is an ordinary empty result, any other
// failure is raised as a system error carrying its Windows code.

#include "platform/os/registry.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// RegOpenKeyExW with MAXIMUM_ALLOWED in the process's own view: none when the key does not
// exist; other failures throw std::system_error.
std::optional<platform::os::registry_key> open_key(platform::os::predefined_key root,
                                                   std::wstring_view sub_key);

// A REG_SZ or REG_EXPAND_SZ value (not expanded) of even size whose last character is NUL: the
// text before that NUL. False for a missing value, another type, an odd size or a missing NUL;
// failures other than "not found" throw std::system_error.
bool read_string(const platform::os::registry_key& key, std::wstring_view name, std::wstring& text);

} // namespace qv
