#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"

#include "tests/support/machine_snapshot.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

// Each change to the machine shows as a difference naming what changed; an unchanged machine
// shows none.
TEST(machine_snapshot, tells_every_kind_of_change) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::write_host_file(machine.drive_c("ProgramData/a.txt"), "one");
    const auto key = os::create_key(os::predefined_key::local_machine, L"Software\\Quorvane",
                                    os::key_access::all_access);
    ASSERT_FALSE(os::set_dword_value(key->key, L"Count", 1));

    const struct {
        const char* names;
        std::function<void()> change;
    } changes[] = {
        {"C:\\ProgramData\\a.txt",
         [&] { qv_test::write_host_file(machine.drive_c("ProgramData/a.txt"), "two"); }},
        {"C:\\ProgramData\\a.txt",
         [] { os::set_file_attributes(L"C:\\ProgramData\\a.txt", os::file_attribute::hidden); }},
        {"C:\\users\\Public\\b.tmp",
         [&] { qv_test::write_host_file(machine.drive_c("users/Public/b.tmp"), ""); }},
        {"C:\\users\\Public\\b.tmp", [&] { fs::remove(machine.drive_c("users/Public/b.tmp")); }},
        {"C:\\ProgramData\\a.txt",
         [&] {
             fs::remove(machine.drive_c("ProgramData/a.txt"));
             fs::create_symlink("elsewhere", machine.drive_c("ProgramData/a.txt"));
         }},
        {"HKEY_LOCAL_MACHINE\\Software\\Quorvane value Count",
         [&] { os::set_dword_value(key->key, L"Count", 2); }},
        {"HKEY_LOCAL_MACHINE\\Software\\Quorvane\\Sub",
         [&] { os::create_key(key->key, L"Sub", os::key_access::all_access); }},
        {"HKEY_CURRENT_USER\\Software",
         [] {
             os::create_key(os::predefined_key::current_user, L"Software\\Quorvane",
                            os::key_access::all_access);
         }},
    };
    for (const auto& c : changes) {
        const auto before = qv_test::take_machine_snapshot();
        EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
        c.change();
        const std::string differences =
            qv_test::snapshot_differences(before, qv_test::take_machine_snapshot());
        EXPECT_TRUE(differences.starts_with(c.names)) << differences;
    }
}

} // namespace
