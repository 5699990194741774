#include "engine/privilege_switch.h"
#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"
#include "platform/os/file_faults.h"
#include "platform/os/privileges.h"
#include "platform/os/registry.h"

#include "tests/engine/journal_test_support.h"
#include "tests/support/child_process.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using journal_test::attributes_of;
using journal_test::code;
using journal_test::content_of;
using journal_test::program;
using journal_test::put_file;
using journal_test::temporary_backups;
using qv::log_record;
using qv::log_record_kind;
namespace attribute = os::file_attribute;

namespace {

constexpr wchar_t product_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";

class uninstall_log_records : public journal_test::journal_fixture {};

log_record folder_record(std::wstring path) {
    return {log_record_kind::folder, std::move(path), L"", true, -1, L""};
}

TEST_F(uninstall_log_records, add_folders_creates_and_records_each_missing_folder_in_order) {
    EXPECT_FALSE(log_.add_folders(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Data\\"));
    const std::list<log_record> expected = {
        folder_record(L"C:\\Program Files\\Quorvane"),
        folder_record(L"C:\\Program Files\\Quorvane\\Varnolis 2"),
        folder_record(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Data"),
    };
    EXPECT_EQ(log_.records, expected);
    EXPECT_TRUE(fs::is_directory(machine_.drive_c("Program Files/Quorvane/Varnolis 2/Data")));
    // Existing folders, whatever their spelling, are not recorded again.
    EXPECT_FALSE(log_.add_folders(L"c:/program files/QUORVANE/Varnolis 2/Data/More"));
    ASSERT_EQ(log_.records.size(), 4u);
    EXPECT_EQ(log_.records.back(),
              folder_record(L"c:/program files/QUORVANE/Varnolis 2/Data/More"));
    EXPECT_FALSE(log_.pending);
}

TEST_F(uninstall_log_records, add_folders_stops_at_the_first_folder_it_cannot_create) {
    put_file(L"C:\\ProgramData\\Quorvane", "a file in the way");
    EXPECT_FALSE(log_.add_folders(L"C:\\ProgramData\\Other"));
    EXPECT_EQ(log_.add_folders(L"C:\\ProgramData\\Quorvane\\Varnolis 2\\Data"),
              code(os::win32_error::already_exists));
    EXPECT_EQ(log_.records, std::list{folder_record(L"C:\\ProgramData\\Other")});
    EXPECT_EQ(log_.add_folders(L"C:\\" + std::wstring(300, L'x')),
              code(os::win32_error::filename_exced_range));
}

TEST_F(uninstall_log_records, a_new_file_is_recorded_pending_without_backup) {
    EXPECT_FALSE(log_.add_file(program, 1, qv::existing_file::move_to_backup));
    // Its two missing folders first.
    ASSERT_EQ(log_.records.size(), 3u);
    EXPECT_EQ(log_.records.back(),
              (log_record{log_record_kind::file, program, L"", false, 1, L""}));
    EXPECT_TRUE(log_.pending);
    log_.settle_pending(qv::action_outcome::done);
    EXPECT_TRUE(log_.records.back().done);
    EXPECT_FALSE(log_.pending);
    // Nothing pending: a second outcome changes nothing.
    log_.settle_pending(qv::action_outcome::not_done);
    EXPECT_TRUE(log_.records.back().done);
}

TEST_F(uninstall_log_records, an_existing_file_goes_to_a_backup_with_its_attributes) {
    struct backup_case {
        qv::existing_file existing;
        bool stays; // the file is still at its place afterwards
    };
    const std::uint32_t attributes = attribute::readonly | attribute::hidden | attribute::archive;
    for (const auto& c : {backup_case{qv::existing_file::move_to_backup, false},
                          backup_case{qv::existing_file::copy_to_backup, true}}) {
        put_file(program, "version 2.31", attributes);
        qv::uninstall_log log;
        ASSERT_FALSE(log.add_file(program, 1, c.existing));
        const log_record& record = log.records.back();
        EXPECT_EQ(record.backup_origin, program);
        // "qv" followed by up to four hexadecimal digits and ".tmp", in the temporary folder.
        const std::wstring name = record.backup.substr(journal_test::temporary_folder().size());
        EXPECT_TRUE(record.backup.starts_with(journal_test::temporary_folder()));
        EXPECT_TRUE(name.starts_with(L"qv") && name.ends_with(L".tmp") && name.size() <= 10)
            << os::to_utf8(name);
        EXPECT_EQ(temporary_backups(), std::set{record.backup});
        EXPECT_EQ(content_of(record.backup), "version 2.31");
        EXPECT_EQ(attributes_of(record.backup), attributes);
        EXPECT_EQ(os::path_exists(program), c.stays);
        if (c.stays)
            EXPECT_EQ(attributes_of(program), attributes);
        else
            put_file(program, "");
        ASSERT_FALSE(log.rollback());
    }
}

TEST_F(uninstall_log_records, a_link_at_the_path_is_moved_as_a_link_and_never_copied_through) {
    put_file(L"C:\\secret.txt", "not for users", attribute::readonly);
    fs::create_directories(machine_.drive_c("ProgramData/Quorvane"));
    fs::create_symlink(machine_.drive_c("secret.txt"),
                       machine_.drive_c("ProgramData/Quorvane/settings.dat"));
    const wchar_t shared[] = L"C:\\ProgramData\\Quorvane\\settings.dat";

    EXPECT_EQ(log_.add_file(shared, 3, qv::existing_file::copy_to_backup),
              code(os::win32_error::access_denied));
    EXPECT_TRUE(log_.records.empty());
    EXPECT_FALSE(log_.pending);
    EXPECT_TRUE(temporary_backups().empty());

    ASSERT_FALSE(log_.add_file(shared, 3, qv::existing_file::move_to_backup));
    const auto backup = *os::host_path(log_.records.back().backup);
    EXPECT_TRUE(fs::is_symlink(backup));
    EXPECT_FALSE(os::path_exists(shared));
    EXPECT_EQ(content_of(L"C:\\secret.txt"), "not for users");
    EXPECT_EQ(attributes_of(L"C:\\secret.txt"), attribute::readonly);
}

TEST_F(uninstall_log_records, a_file_that_cannot_be_set_aside_is_not_recorded) {
    put_file(program, "version 2.31", attribute::readonly);
    ASSERT_FALSE(log_.add_folders(L"C:\\ProgramData\\Quorvane"));
    // The first counted operation is the reservation of the backup's name, the second the move.
    for (std::uint64_t failing : {1u, 2u}) {
        os::fail_file_operation(failing, 112);
        EXPECT_EQ(log_.add_file(program, 1, qv::existing_file::move_to_backup),
                  code(os::win32_error::disk_full));
        EXPECT_EQ(log_.records.size(), 1u);
        EXPECT_FALSE(log_.pending);
        EXPECT_EQ(content_of(program), "version 2.31");
        EXPECT_EQ(attributes_of(program), attribute::readonly);
        EXPECT_TRUE(temporary_backups().empty());
    }
}

TEST_F(uninstall_log_records, add_shortcut_moves_the_earlier_link_of_its_kind_away) {
    const wchar_t menu_folder[] =
        L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
    const std::wstring old_link = std::wstring(menu_folder) + L"\\Varnolis 2.31.lnk";
    const std::wstring desktop_link = L"C:\\users\\Public\\Desktop\\Varnolis 2.31.lnk";
    put_file(old_link, "old menu link");
    log_.previous_records = {
        {log_record_kind::desktop_link, desktop_link, L"", true, -1, L""},
        {log_record_kind::menu_link, old_link, L"", true, -1, L""},
        {log_record_kind::menu_link, L"C:\\elsewhere.lnk", L"", true, -1, L""},
    };

    ASSERT_FALSE(log_.add_shortcut(qv::shortcut_kind::menu, menu_folder));
    ASSERT_EQ(log_.records.size(), 1u);
    const log_record& menu = log_.records.back();
    EXPECT_EQ(menu.kind, log_record_kind::menu_link);
    EXPECT_TRUE(menu.path.empty());
    EXPECT_EQ(menu.backup_origin, old_link);
    EXPECT_EQ(content_of(menu.backup), "old menu link");
    EXPECT_FALSE(os::path_exists(old_link));
    EXPECT_TRUE(log_.pending);

    // The earlier desktop link's file is gone already: nothing to set aside.
    ASSERT_FALSE(log_.add_shortcut(qv::shortcut_kind::desktop, L"C:\\users\\Public\\Desktop"));
    EXPECT_EQ(log_.records.back(),
              (log_record{log_record_kind::desktop_link, L"", L"", false, -1, L""}));
    // No earlier uninstall link; a folder of its own is made.
    ASSERT_FALSE(log_.add_shortcut(qv::shortcut_kind::uninstall, L"C:\\ProgramData\\Tools"));
    ASSERT_EQ(log_.records.size(), 4u);
    EXPECT_EQ(*std::next(log_.records.begin(), 2), folder_record(L"C:\\ProgramData\\Tools"));
    EXPECT_EQ(log_.records.back(),
              (log_record{log_record_kind::uninstall_link, L"", L"", false, -1, L""}));
}

TEST_F(uninstall_log_records, registry_records_wait_for_their_outcome) {
    log_.add_registration();
    EXPECT_TRUE(log_.pending);
    log_.settle_pending(qv::action_outcome::not_done);
    EXPECT_EQ(log_.records.back(),
              (log_record{log_record_kind::registration, L"", L"", false, -1, L""}));
    ASSERT_FALSE(log_.add_uninstall_key(nullptr));
    EXPECT_EQ(log_.records.back(),
              (log_record{log_record_kind::uninstall_key, L"", L"", false, -1, L""}));
    EXPECT_TRUE(log_.pending);
}

os::registry_key product_key() {
    auto created = os::create_key(os::predefined_key::local_machine,
                                  std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2",
                                  os::key_access::all_access);
    return std::move(created.value().key);
}

TEST_F(uninstall_log_records, an_existing_uninstall_key_is_saved_before_it_changes) {
    const os::registry_key key = product_key();
    ASSERT_FALSE(os::set_string_value(key, L"DisplayName", L"Varnolis 2.31"));
    ASSERT_FALSE(os::set_dword_value(key, L"Custom", 7));
    ASSERT_FALSE(log_.add_uninstall_key(&key));
    const std::wstring backup = log_.records.back().backup;
    EXPECT_EQ(temporary_backups(), std::set{backup});
    EXPECT_FALSE(os::privilege_enabled(os::privilege::backup));

    // The backup holds the key as it was: loaded into another key it gives the same values.
    auto copy = os::create_key(os::predefined_key::local_machine, L"Software\\Copy",
                               os::key_access::all_access);
    {
        qv::privilege_scope restore(L"SeRestorePrivilege");
        ASSERT_FALSE(os::restore_key(copy->key, backup, 0));
    }
    EXPECT_EQ(os::query_value(copy->key, L"DisplayName")->bytes,
              os::to_utf16le(std::wstring(L"Varnolis 2.31") + L'\0'));
    EXPECT_EQ(os::query_value(copy->key, L"Custom")->type, os::value_type::dword);
}

TEST_F(uninstall_log_records, a_key_that_cannot_be_saved_is_not_recorded) {
    const os::registry_key key = product_key();
    // The reservation of the name, then the move of the saved key onto it.
    for (std::uint64_t failing : {1u, 2u}) {
        os::fail_file_operation(failing, 112);
        EXPECT_EQ(log_.add_uninstall_key(&key), code(os::win32_error::disk_full));
        EXPECT_TRUE(log_.records.empty());
        EXPECT_FALSE(log_.pending);
        EXPECT_TRUE(temporary_backups().empty());
    }
}

TEST(set_privilege, switches_a_held_privilege_and_refuses_others) {
    qv_test::temp_machine machine;
    EXPECT_FALSE(qv::set_privilege(L"SeRestorePrivilege", qv::privilege_state::on));
    EXPECT_TRUE(os::privilege_enabled(os::privilege::restore));
    EXPECT_FALSE(qv::set_privilege(L"SeRestorePrivilege", qv::privilege_state::off));
    EXPECT_FALSE(os::privilege_enabled(os::privilege::restore));
    {
        const qv::privilege_scope scope(L"SeBackupPrivilege");
        EXPECT_TRUE(os::privilege_enabled(os::privilege::backup));
    }
    EXPECT_FALSE(os::privilege_enabled(os::privilege::backup));
    EXPECT_EQ(qv::set_privilege(L"SeShutdownPrivilege", qv::privilege_state::on),
              code(os::win32_error::no_such_privilege));
}

TEST(set_privilege, a_user_who_is_not_an_administrator_cannot_switch_it_on) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "switching users needs root";
    qv_test::temp_machine machine;
    os::machine_root();
    const int outcome = qv_test::run_in_child(
        [] {
            const auto error = qv::set_privilege(L"SeBackupPrivilege", qv::privilege_state::on);
            return error == code(os::win32_error::not_all_assigned) &&
                           !os::privilege_enabled(os::privilege::backup)
                       ? 0
                       : 1;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(outcome, 0);
}

} // namespace
