#include "app/file_version_info.h"
#include "app/product_identity.h"

#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"

#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

TEST(application_id, comes_from_the_own_version_resource) {
    EXPECT_EQ(qv::application_id(), L"Varnolis2");
}

TEST(file_version_info, reads_the_fixed_block_translations_and_strings) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::version_description version;
    version.file_version = {2, 31, 0, 5};
    version.table = L"040c04b0";
    version.translations = {{0x0409, 1252}, {0x040c, 1200}, {0x0407, 1200}};
    version.strings = {{L"ProductName", L"Varnolis"}, {L"ProductVersion", L"2.31"}};
    qv_test::write_versioned_program(machine.drive_c("old.exe"), version);

    qv::file_version_info info(L"C:\\old.exe");
    EXPECT_TRUE(info.has_fixed_block());
    EXPECT_EQ(info.file_version(), qv::make_packed_version(2, 31, 0, 5));
    EXPECT_EQ(info.translations(), (std::vector<std::wstring>{L"040c04b0", L"040704b0"}));
    EXPECT_EQ(info.product_name(), L"Varnolis");
    EXPECT_EQ(info.product_version(), L"2.31");
    EXPECT_EQ(info.string_value(L"productname"), L"Varnolis");
    EXPECT_EQ(info.legal_copyright(), L"");
}

TEST(file_version_info, a_file_without_version_or_unicode_translation_has_none) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::write_host_file(machine.drive_c("plain.exe"), "not a program");
    qv::file_version_info plain(L"C:\\plain.exe");
    EXPECT_FALSE(plain.has_fixed_block());
    EXPECT_EQ(plain.file_version(), 0u);
    EXPECT_EQ(plain.product_name(), L"");

    qv::file_version_info missing(L"C:\\missing.exe");
    EXPECT_EQ(missing.file_version(), 0u);

    qv_test::version_description version;
    version.translations = {{0x0409, 1252}};
    version.strings = {{L"ProductName", L"Varnolis"}};
    qv_test::write_versioned_program(machine.drive_c("ansi.exe"), version,
                                     qv_test::program_format::pe32);
    qv::file_version_info ansi(L"C:\\ansi.exe");
    EXPECT_NE(ansi.file_version(), 0u);
    EXPECT_TRUE(ansi.translations().empty());
    EXPECT_EQ(ansi.product_name(), L"");
}

class find_uninstall_log : public testing::Test {
protected:
    void SetUp() override {
        os::machine_root();
        fs::create_directories(machine_.drive_c("Apps/V"));
        fs::create_directories(machine_.drive_c("Registered"));
    }
    void set_uninstall_string(std::wstring_view command) {
        auto key = os::create_key(os::predefined_key::local_machine,
                                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                  L"Varnolis 2",
                                  os::key_access::all_access);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_string_value(key->key, L"UninstallString", command));
    }
    void register_program(std::wstring_view path) {
        auto key = os::create_key(os::predefined_key::local_machine, L"Software\\Quorvane",
                                  os::key_access::all_access);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_string_value(key->key, L"Varnolis 2 Path", path));
    }
    qv_test::temp_machine machine_;
};

TEST_F(find_uninstall_log, beside_the_uninstaller_of_the_uninstall_entry) {
    qv_test::write_host_file(machine_.drive_c("Apps/V/Uninstall.ulog"), "");
    set_uninstall_string(L"C:\\Apps\\V\\Uninstall.exe");
    EXPECT_EQ(qv::find_uninstall_log(), L"C:\\Apps\\V\\Uninstall.ulog");
}

TEST_F(find_uninstall_log, a_quoted_uninstall_command_falls_through_to_the_registered_program) {
    qv_test::write_host_file(machine_.drive_c("Apps/V/Uninstall.ulog"), "");
    qv_test::write_host_file(machine_.drive_c("Registered/Varnolis.exe"), "");
    qv_test::write_host_file(machine_.drive_c("Registered/Uninstall.ulog"), "");
    set_uninstall_string(L"\"C:\\Apps\\V\\Uninstall.exe\"");
    register_program(L"C:\\Registered\\Varnolis.exe");
    EXPECT_EQ(qv::find_uninstall_log(), L"C:\\Registered\\Uninstall.ulog");
}

TEST_F(find_uninstall_log, none_exists) {
    set_uninstall_string(L"C:\\Apps\\V\\Uninstall.exe");
    EXPECT_EQ(qv::find_uninstall_log(), L"");
}

TEST_F(find_uninstall_log, a_path_without_folder_never_reads_the_current_directory) {
    qv_test::write_host_file(machine_.drive_c("Apps/V/Uninstall.ulog"), "");
    ASSERT_FALSE(os::set_current_directory(L"C:\\Apps\\V"));
    set_uninstall_string(L"Uninstall.exe");
    EXPECT_EQ(qv::find_uninstall_log(), L"");
}

} // namespace
