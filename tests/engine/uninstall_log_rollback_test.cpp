#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"
#include "platform/os/file_faults.h"
#include "platform/os/file_moves.h"
#include "platform/os/privileges.h"
#include "platform/os/registry.h"

#include "tests/engine/journal_test_support.h"
#include "tests/support/machine_snapshot.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;
namespace os = platform::os;
using journal_test::attributes_of;
using journal_test::code;
using journal_test::content_of;
using journal_test::program;
using journal_test::put_file;
using journal_test::temporary_backups;
using qv::existing_file;
using qv::log_record_kind;
namespace attribute = os::file_attribute;

namespace {

constexpr wchar_t readme[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\readme.txt";
constexpr wchar_t plugin[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Plugins\\Base\\base.dll";
constexpr wchar_t shared[] = L"C:\\ProgramData\\Quorvane\\settings.dat";

class uninstall_log_rollback : public journal_test::journal_fixture {
protected:
    // An earlier installation: a read-only program, a hidden readme, a shared settings file.
    void earlier_installation() {
        put_file(program, "program 2.31", attribute::readonly | attribute::archive);
        put_file(readme, "readme 2.31", attribute::hidden);
        put_file(shared, "the user's settings", attribute::archive);
    }

    // What the extraction does for one entry: record it, then write it unless it is kept.
    void install(std::wstring_view path, std::string_view content,
                 existing_file existing = existing_file::move_to_backup) {
        ASSERT_FALSE(log_.add_file(path, 0, existing));
        if (existing == existing_file::move_to_backup)
            put_file(path, content);
        log_.settle_pending(qv::action_outcome::done);
    }
};

TEST_F(uninstall_log_rollback, puts_back_every_replaced_file_and_removes_what_was_added) {
    earlier_installation();
    const auto before = qv_test::take_machine_snapshot();
    install(program, "program 2.32g");
    install(plugin, "a new plug-in");
    install(readme, "readme 2.32g");
    install(shared, "", existing_file::copy_to_backup);
    // A file recorded but never written, as when the extraction fails at it.
    ASSERT_FALSE(log_.add_file(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Plugins\\more.dll", 0,
                               existing_file::move_to_backup));
    EXPECT_EQ(temporary_backups().size(), 3u);

    EXPECT_FALSE(log_.rollback());
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
    EXPECT_TRUE(log_.records.empty());
    EXPECT_FALSE(log_.pending);
}

TEST_F(uninstall_log_rollback, folders_that_still_hold_something_stay) {
    install(plugin, "a new plug-in");
    put_file(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Plugins\\user.dll", "put there meanwhile");
    EXPECT_FALSE(log_.rollback());
    EXPECT_FALSE(os::path_exists(plugin));
    EXPECT_FALSE(fs::exists(machine_.drive_c("Program Files/Quorvane/Varnolis 2/Plugins/Base")));
    EXPECT_EQ(content_of(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Plugins\\user.dll"),
              "put there meanwhile");
}

// Each file operation of the rollback in turn fails: the rollback reports it, carries on with
// everything else, and whatever it could not put back stays as a backup: nothing is lost.
TEST_F(uninstall_log_rollback, a_step_that_fails_does_not_stop_the_others) {
    earlier_installation();
    const auto before = qv_test::take_machine_snapshot();
    for (std::uint64_t failing = 1;; ++failing) {
        install(program, "program 2.32g");
        install(plugin, "a new plug-in");
        install(readme, "readme 2.32g");
        install(shared, "", existing_file::copy_to_backup);

        os::fail_file_operation(failing, 1117);
        const std::error_code error = log_.rollback();
        if (!error) {
            // The fault was never reached: every step of the rollback has failed once.
            EXPECT_EQ(os::begin_file_operation(), code(os::win32_error::io_device));
            EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
            EXPECT_GT(failing, 4u);
            break;
        }
        EXPECT_EQ(error, code(os::win32_error::io_device));
        // Each earlier file is at its place or still in a backup, with its attributes.
        const std::set<std::wstring> backups = temporary_backups();
        for (const auto& [path, content] :
             {std::pair{program, "program 2.31"}, std::pair{readme, "readme 2.31"},
              std::pair{shared, "the user's settings"}}) {
            const bool in_place = os::path_exists(path) && content_of(path) == content;
            const bool in_backup = std::ranges::any_of(
                backups, [&](const std::wstring& b) { return content_of(b) == content; });
            EXPECT_TRUE(in_place || in_backup) << os::to_utf8(path) << " at " << failing;
        }
        EXPECT_LE(backups.size(), 1u) << "at " << failing;
        // Restore by hand what the failed step left, for the next round.
        for (const std::wstring& backup : backups) {
            const std::string content = content_of(backup);
            const wchar_t* origin = content == "program 2.31"  ? program
                                    : content == "readme 2.31" ? readme
                                                               : shared;
            fs::remove(*os::host_path(origin));
            ASSERT_FALSE(os::move_file(backup, origin));
        }
        fs::remove(*os::host_path(program));
        fs::remove(*os::host_path(readme));
        fs::remove_all(machine_.drive_c("Program Files/Quorvane/Varnolis 2/Plugins"));
        put_file(program, "program 2.31", attribute::readonly | attribute::archive);
        put_file(readme, "readme 2.31", attribute::hidden);
        ASSERT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "")
            << "at " << failing;
    }
}

TEST_F(uninstall_log_rollback, never_acts_through_a_link_planted_at_a_recorded_path) {
    earlier_installation();
    put_file(L"C:\\secret.txt", "not for users", attribute::readonly);
    install(shared, "", existing_file::copy_to_backup);
    install(L"C:\\ProgramData\\Quorvane\\new.dat", "new shared data");
    for (const char* planted : {"settings.dat", "new.dat"}) {
        fs::remove(machine_.drive_c("ProgramData/Quorvane") / planted);
        fs::create_symlink(machine_.drive_c("secret.txt"),
                           machine_.drive_c("ProgramData/Quorvane") / planted);
    }
    EXPECT_FALSE(log_.rollback());
    EXPECT_EQ(content_of(L"C:\\secret.txt"), "not for users");
    EXPECT_EQ(attributes_of(L"C:\\secret.txt"), attribute::readonly);
    EXPECT_FALSE(fs::is_symlink(machine_.drive_c("ProgramData/Quorvane/settings.dat")));
    EXPECT_EQ(content_of(shared), "the user's settings");
    EXPECT_FALSE(os::path_exists(L"C:\\ProgramData\\Quorvane\\new.dat"));
    EXPECT_FALSE(fs::is_symlink(machine_.drive_c("ProgramData/Quorvane/new.dat")));
}

TEST_F(uninstall_log_rollback, a_replaced_link_goes_back_where_it_was) {
    const std::wstring folder =
        L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
    const std::wstring old_link = folder + L"\\Varnolis 2.31.lnk";
    const std::wstring new_link = folder + L"\\Varnolis 2.32g.lnk";
    put_file(old_link, "old link", attribute::readonly | attribute::archive);
    log_.previous_records = {{log_record_kind::menu_link, old_link, L"", true, -1, L""}};
    const auto before = qv_test::take_machine_snapshot();

    ASSERT_FALSE(log_.add_shortcut(qv::shortcut_kind::menu, folder));
    put_file(new_link, "new link");
    log_.records.back().path = new_link;
    log_.settle_pending(qv::action_outcome::done);
    // A link whose creation failed keeps no path; its backup still goes back.
    ASSERT_FALSE(log_.add_shortcut(qv::shortcut_kind::desktop, L"C:\\users\\Public\\Desktop"));
    log_.settle_pending(qv::action_outcome::not_done);

    EXPECT_FALSE(log_.rollback());
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
}

class uninstall_key_rollback : public uninstall_log_rollback {
protected:
    // The keys every machine has.
    uninstall_key_rollback() {
        for (const std::wstring_view key :
             {qv::uninstall_key_path, std::wstring_view(L"Software\\Classes")})
            os::create_key(os::predefined_key::local_machine, key, os::key_access::all_access)
                .value();
    }

    static os::created_key open_product_key() {
        return os::create_key(os::predefined_key::local_machine,
                              std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2",
                              os::key_access::all_access)
            .value();
    }
};

TEST_F(uninstall_key_rollback, an_existing_key_gets_its_earlier_content_back) {
    {
        const os::registry_key key = open_product_key().key;
        ASSERT_FALSE(os::set_string_value(key, L"DisplayName", L"Varnolis 2.31"));
        ASSERT_FALSE(os::set_dword_value(key, L"Custom", 7));
        auto sub = os::create_key(key, L"Options", os::key_access::all_access);
        ASSERT_FALSE(os::set_string_value(sub->key, L"Mode", L"quiet"));
    }
    const auto before = qv_test::take_machine_snapshot();

    const os::created_key opened = open_product_key();
    ASSERT_EQ(opened.disposition, os::key_disposition::opened_existing_key);
    ASSERT_FALSE(log_.add_uninstall_key(&opened.key));
    ASSERT_FALSE(os::set_string_value(opened.key, L"DisplayName", L"Varnolis 2.32g"));
    ASSERT_FALSE(os::set_string_value(opened.key, L"UninstallString", L"C:\\x\\Uninstall.exe"));
    ASSERT_FALSE(os::delete_tree(opened.key, L"Options"));
    log_.settle_pending(qv::action_outcome::done);

    EXPECT_FALSE(log_.rollback());
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
    EXPECT_FALSE(os::privilege_enabled(os::privilege::restore));
}

TEST_F(uninstall_key_rollback, a_key_deleted_meanwhile_is_made_again) {
    {
        const os::registry_key key = open_product_key().key;
        ASSERT_FALSE(os::set_string_value(key, L"DisplayName", L"Varnolis 2.31"));
    }
    const auto before = qv_test::take_machine_snapshot();
    const os::created_key opened = open_product_key();
    ASSERT_FALSE(log_.add_uninstall_key(&opened.key));
    ASSERT_FALSE(os::delete_tree(os::predefined_key::local_machine,
                                 std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2"));
    EXPECT_FALSE(log_.rollback());
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
}

TEST_F(uninstall_key_rollback, a_new_key_is_deleted_and_a_registration_left_alone) {
    const auto before = qv_test::take_machine_snapshot();
    const os::created_key created = open_product_key();
    ASSERT_EQ(created.disposition, os::key_disposition::created_new_key);
    ASSERT_FALSE(log_.add_uninstall_key(nullptr));
    ASSERT_FALSE(os::set_string_value(created.key, L"DisplayName", L"Varnolis 2.32g"));
    ASSERT_FALSE(os::create_key(created.key, L"Sub", os::key_access::all_access).error());
    log_.add_registration();
    const os::registry_key registered =
        os::create_key(os::predefined_key::classes_root, L".vrn", os::key_access::all_access)
            .value()
            .key;

    EXPECT_FALSE(log_.rollback());
    const auto after = qv_test::take_machine_snapshot();
    EXPECT_EQ(qv_test::snapshot_differences(before, after),
              "HKEY_LOCAL_MACHINE\\Software\\Classes\\.vrn: new (key with 0 values)\n");
    // A key that is not there any more is nothing to undo.
    ASSERT_FALSE(log_.add_uninstall_key(nullptr));
    EXPECT_FALSE(log_.rollback());
}

} // namespace
