#include "app/default_folders.h"
#include "app/packed_version.h"
#include "app/product_identity.h"
#include "app/registry_reader.h"

#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

os::registry_key create_key(os::predefined_key root, std::wstring_view path) {
    auto created = os::create_key(root, path, os::key_access::all_access);
    if (!created)
        throw std::system_error(created.error());
    return std::move(created->key);
}

TEST(packed_version, fields_compare_numerically_major_first) {
    const qv::packed_version ordered[] = {
        qv::make_packed_version(2, 31, 65535, 65535), qv::make_packed_version(2, 32, 7, 0),
        qv::make_packed_version(2, 32, 7, 1),         qv::make_packed_version(2, 32, 7, 2),
        qv::make_packed_version(2, 32, 8, 0),         qv::make_packed_version(2, 32, 9, 0),
        qv::make_packed_version(2, 32, 10, 0),        qv::make_packed_version(2, 33, 0, 0),
        qv::make_packed_version(3, 0, 0, 0),
    };
    for (std::size_t i = 1; i < std::size(ordered); ++i)
        EXPECT_LT(ordered[i - 1], ordered[i]) << i;
    EXPECT_EQ(qv::product_version, qv::make_packed_version(2, 32, 7, 1));
    EXPECT_EQ(qv::product_version, 0x0002002000070001u);
}

TEST(packed_version, travels_as_sixteen_lower_case_hex_digits) {
    EXPECT_EQ(qv::packed_version_hex(qv::make_packed_version(2, 32, 6, 3)), L"0002002000060003");
    EXPECT_EQ(qv::packed_version_hex(qv::make_packed_version(2, 31, 0, 0)), L"0002001f00000000");
    EXPECT_EQ(qv::packed_version_hex(0), L"0000000000000000");
}

TEST(product_identity, names) {
    EXPECT_EQ(qv::product_name(qv::product_name_form::plain), L"Varnolis");
    EXPECT_EQ(qv::product_name(qv::product_name_form::with_version), L"Varnolis 2.32g");
    EXPECT_EQ(qv::product_key_name(258), L"Varnolis 2");
    EXPECT_THROW(qv::product_key_name(259), std::logic_error);
}

struct string_value_case {
    const char* what;
    std::uint32_t type;
    std::string bytes;
    std::optional<std::wstring> expected; // none: read_string is false
};

TEST(registry_reader, read_string_rules) {
    qv_test::temp_machine machine;
    auto key = create_key(os::predefined_key::local_machine, L"Software\\Test");
    const string_value_case cases[] = {
        {"string", os::value_type::sz, os::to_utf16le(std::wstring(L"abc\0", 4)), L"abc"},
        {"expand string, not expanded", os::value_type::expand_sz,
         os::to_utf16le(std::wstring(L"%WINDIR%\0", 9)), L"%WINDIR%"},
        {"empty data", os::value_type::sz, "", L""},
        {"only the terminator", os::value_type::sz, std::string(2, '\0'), L""},
        {"without its NUL", os::value_type::sz, os::to_utf16le(L"abc"), std::nullopt},
        {"odd size", os::value_type::sz, std::string("a\0\0", 3), std::nullopt},
        {"another type", os::value_type::binary, os::to_utf16le(std::wstring(L"a\0", 2)),
         std::nullopt},
        {"inner NUL kept up to the last", os::value_type::sz,
         os::to_utf16le(std::wstring(L"a\0b\0", 4)), std::wstring(L"a\0b", 3)},
    };
    for (const auto& c : cases) {
        ASSERT_FALSE(os::set_value(key, L"v", c.type, c.bytes)) << c.what;
        auto opened = qv::open_key(os::predefined_key::local_machine, L"Software\\Test");
        ASSERT_TRUE(opened) << c.what;
        std::wstring text = L"unchanged";
        EXPECT_EQ(qv::read_string(*opened, L"v", text), c.expected.has_value()) << c.what;
        if (c.expected) {
            EXPECT_EQ(text, *c.expected) << c.what;
        }
    }
    std::wstring text;
    EXPECT_FALSE(qv::read_string(key, L"missing", text));
    EXPECT_FALSE(qv::open_key(os::predefined_key::local_machine, L"Software\\Missing"));
}

class registered_program : public testing::Test {
protected:
    void register_path(std::wstring_view path) {
        auto key = create_key(os::predefined_key::local_machine, L"Software\\Quorvane");
        ASSERT_FALSE(os::set_string_value(key, L"Varnolis 2 Path", path));
    }
    qv_test::temp_machine machine_;
};

TEST_F(registered_program, none_without_the_key) {
    EXPECT_EQ(qv::registered_program_path(), L"");
}

TEST_F(registered_program, none_when_the_file_is_gone) {
    register_path(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe");
    EXPECT_EQ(qv::registered_program_path(), L"");
}

TEST_F(registered_program, an_existing_file_is_remembered_for_the_process) {
    os::machine_root();
    fs::create_directories(machine_.drive_c("Apps/V"));
    qv_test::write_host_file(machine_.drive_c("Apps/V/Varnolis.exe"), "x");
    register_path(L"C:\\Apps\\V\\Varnolis.exe");
    EXPECT_EQ(qv::registered_program_path(), L"C:\\Apps\\V\\Varnolis.exe");
    register_path(L"C:\\Apps");
    EXPECT_EQ(qv::registered_program_path(), L"C:\\Apps\\V\\Varnolis.exe");
}

TEST(default_folders, below_program_files_and_the_common_program_group) {
    qv_test::temp_machine machine;
    EXPECT_EQ(qv::default_install_folder(), L"C:\\Program Files\\Quorvane\\Varnolis 2");
    EXPECT_EQ(qv::default_shortcut_folder(),
              L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2");
}

TEST(default_folders, the_user_program_group_when_the_common_one_is_unavailable) {
    qv_test::temp_machine machine;
    auto key = create_key(os::predefined_key::local_machine,
                          L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
                          L"Folders");
    ASSERT_FALSE(os::set_string_value(key, L"Common Programs", L""));
    EXPECT_EQ(qv::default_shortcut_folder(),
              L"C:\\users\\" + os::user_name() +
                  L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\"
                  L"Varnolis 2");
}

} // namespace
