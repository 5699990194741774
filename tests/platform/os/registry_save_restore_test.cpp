#include "platform/os/error.h"
#include "platform/os/privileges.h"
#include "platform/os/registry.h"
#include "platform/os/registry_file.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include "tests/platform/os/registry_test_support.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using namespace std::string_literals;
using os::predefined_key;
using os::win32_error;

using registry_test::code_of;
using registry_test::create;

namespace {

std::vector<std::wstring> subkeys(const os::registry_key& key) {
    std::vector<std::wstring> names;
    for (std::uint32_t i = 0; os::enum_key(key, i); ++i)
        names.push_back(*os::enum_key(key, i));
    return names;
}

void set(std::error_code error) {
    if (error)
        throw std::system_error(error, "set a value");
}

// HKLM\Software\Quorvane with values of several kinds and a subtree.
os::registry_key make_source() {
    os::registry_key source = create(predefined_key::local_machine, L"Software\\Quorvane");
    set(os::set_string_value(source, L"", L"root value"));
    set(os::set_value(source, L"odd", os::value_type::sz, "a\0b"s));
    set(os::set_value(source, L"big", 0x12345678, std::string(200, '\x80')));
    const os::registry_key child =
        create(predefined_key::local_machine, L"Software\\Quorvane\\Varnolis [2.32]\\Setup");
    set(os::set_string_value(child, L"Path", L"C:\\Program Files\\Varnolis",
                             os::value_type::expand_sz));
    set(os::set_value(child, L"List", os::value_type::multi_sz, os::to_utf16le(L"a\0b\0\0"s)));
    return source;
}

class registry_save_restore : public ::testing::Test {
protected:
    static void enable(os::privilege p) { ASSERT_TRUE(os::adjust_privilege(p, true)); }

    qv_test::temp_machine machine;
    const os::registry_key source_ = make_source();
};

TEST_F(registry_save_restore, both_need_their_privilege_enabled) {
    const std::error_code not_held = code_of(win32_error::privilege_not_held);
    EXPECT_EQ(os::save_key(source_, L"C:\\saved.reg"), not_held);
    EXPECT_FALSE(fs::exists(machine.drive_c("saved.reg")));
    enable(os::privilege::restore);
    EXPECT_EQ(os::save_key(source_, L"C:\\saved.reg"), not_held);
    enable(os::privilege::backup);
    EXPECT_FALSE(os::save_key(source_, L"C:\\saved.reg"));
    ASSERT_TRUE(os::adjust_privilege(os::privilege::restore, false));
    EXPECT_EQ(os::restore_key(source_, L"C:\\saved.reg", 0), not_held);
}

TEST_F(registry_save_restore, save_writes_the_subtree_relative_to_the_key_in_a_new_file) {
    enable(os::privilege::backup);
    ASSERT_FALSE(os::save_key(source_, L"C:\\saved.reg"));
    const std::string text = qv_test::read_host_file(machine.drive_c("saved.reg"));
    EXPECT_TRUE(
        text.starts_with("WINE REGISTRY Version 2\n;; All keys relative to "
                         "REGISTRY\\\\Machine\\\\Software\\\\Quorvane\n\n#arch=win64\n\n[] "))
        << text;
    EXPECT_NE(text.find("\n[Varnolis \\[2.32\\]\\\\Setup] "), std::string::npos) << text;
    EXPECT_NE(text.find("\n@=\"root value\"\n\"odd\"=hex(1):61,00,62\n"), std::string::npos);
    EXPECT_NO_THROW(os::parse_registry_file(text, "saved.reg"));

    // An existing file is never overwritten.
    EXPECT_EQ(os::save_key(create(predefined_key::current_user, L"Other"), L"C:\\SAVED.REG"),
              code_of(win32_error::already_exists));
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("saved.reg")), text);
    EXPECT_EQ(os::save_key(source_, L"C:\\missing folder\\saved.reg"),
              code_of(win32_error::path_not_found));
}

TEST_F(registry_save_restore, restore_replaces_the_content_and_the_key_stays) {
    enable(os::privilege::backup);
    enable(os::privilege::restore);
    ASSERT_FALSE(os::save_key(source_, L"C:\\saved.reg"));

    const os::registry_key target = create(predefined_key::current_user, L"Software\\Target");
    ASSERT_FALSE(os::set_dword_value(target, L"stale", 1));
    const os::registry_key old_child =
        create(predefined_key::current_user, L"Software\\Target\\Old");
    ASSERT_FALSE(os::restore_key(target, L"C:\\saved.reg", os::restore_flags::force_restore));

    EXPECT_EQ(os::query_value(target, L"stale").error(), code_of(win32_error::file_not_found));
    EXPECT_EQ(os::query_value(old_child, L"").error(), code_of(win32_error::key_deleted));
    EXPECT_EQ(subkeys(target), std::vector<std::wstring>{L"Varnolis [2.32]"});
    for (const wchar_t* name : {L"", L"odd", L"big"}) {
        const os::result<os::value_data> restored = os::query_value(target, name);
        const os::result<os::value_data> original = os::query_value(source_, name);
        ASSERT_TRUE(restored) << os::to_utf8(name);
        EXPECT_EQ(restored->type, original->type);
        EXPECT_EQ(restored->bytes, original->bytes);
    }
    const os::result<os::registry_key> setup =
        os::open_key(predefined_key::current_user, L"Software\\Target\\Varnolis [2.32]\\Setup",
                     os::key_access::read);
    ASSERT_TRUE(setup);
    EXPECT_EQ(os::query_value(*setup, L"List")->bytes, os::to_utf16le(L"a\0b\0\0"s));
    EXPECT_EQ(os::query_value(*setup, L"Path")->type, os::value_type::expand_sz);
}

TEST_F(registry_save_restore, restore_failures_change_nothing) {
    enable(os::privilege::restore);
    const os::registry_key target = create(predefined_key::current_user, L"Software\\Target");
    ASSERT_FALSE(os::set_dword_value(target, L"kept", 1));
    qv_test::write_host_file(machine.drive_c("bad.reg"),
                             "WINE REGISTRY Version 2\n\n[K]\n\"v\"=dword:xyz\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(os::restore_key(target, L"C:\\bad.reg", 0), code_of(win32_error::baddb));
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(reported.starts_with(machine.root().string())) << reported;
    EXPECT_TRUE(reported.ends_with("bad.reg:4: bad dword\n")) << reported;
    EXPECT_EQ(os::restore_key(target, L"C:\\missing.reg", 0), code_of(win32_error::file_not_found));
    EXPECT_EQ(os::restore_key(target, L"C:\\bad.reg", 0x1 /* REG_WHOLE_HIVE_VOLATILE */),
              code_of(win32_error::invalid_parameter));
    EXPECT_EQ(os::query_value(target, L"kept")->bytes, "\1\0\0\0"s);

    qv_test::write_host_file(machine.drive_c("good.reg"), "WINE REGISTRY Version 2\n");
    ASSERT_FALSE(os::delete_tree(predefined_key::current_user, L"Software\\Target"));
    EXPECT_EQ(os::restore_key(target, L"C:\\good.reg", 0), code_of(win32_error::key_deleted));
    enable(os::privilege::backup);
    EXPECT_EQ(os::save_key(target, L"C:\\saved.reg"), code_of(win32_error::key_deleted));
}

} // namespace
