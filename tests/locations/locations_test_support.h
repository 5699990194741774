#pragma once
// Making shell folders unavailable for the placeholder tests.

#include "platform/os/registry.h"

#include <gtest/gtest.h>
#include <string_view>

namespace locations_test {

// A present, empty "User Shell Folders" value makes that folder unavailable: HKLM holds the
// all-users folders' values, HKCU the user's own.
inline void make_unavailable(platform::os::predefined_key root, std::wstring_view value_name) {
    namespace os = platform::os;
    auto key = os::create_key(
        root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
        os::key_access::all_access);
    ASSERT_TRUE(key) << key.error().message();
    ASSERT_FALSE(os::set_string_value(key->key, value_name, L"", os::value_type::expand_sz));
}

} // namespace locations_test
