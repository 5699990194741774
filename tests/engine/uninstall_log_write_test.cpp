#include "engine/log_text.h"
#include "engine/uninstall_log.h"

#include "tests/engine/journal_test_support.h"

#include <filesystem>

namespace fs = std::filesystem;
namespace os = platform::os;
using journal_test::attributes_of;
using journal_test::code;
using journal_test::content_of;
using journal_test::log_file_text;
using journal_test::put_file;
using journal_test::temporary_backups;
using qv::log_record;
using qv::log_record_kind;
namespace attribute = os::file_attribute;

namespace {

constexpr wchar_t install_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";
constexpr wchar_t shortcut_folder[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
constexpr wchar_t log_path[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.ulog";
constexpr wchar_t program[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";

const std::wstring header_start =
    L"// Uninstall Log File v1\r\n"
    L"// ############ WARNING: Do not delete or modify this file. ############\r\n";

// Line 4 on, for the folders above.
const std::wstring folder_lines =
    L"// Install Path : C:\\Program Files\\Quorvane\\Varnolis 2\r\n"
    L"// Shortcut Path : C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\"
    L"Varnolis 2\r\n// " +
    std::wstring(16 + std::wstring_view(shortcut_folder).size(), L'-') + L"\r\n";

log_record record(log_record_kind kind, std::wstring path, bool done = true, int entry = -1) {
    return {kind, std::move(path), L"", done, entry, L""};
}

class uninstall_log_write : public testing::Test {
protected:
    uninstall_log_write() {
        os::machine_root();
        fs::create_directories(machine_.drive_c("Program Files/Quorvane/Varnolis 2"));
        fs::create_directories(machine_.drive_c(
            "ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvane/Varnolis 2"));
    }

    std::error_code write() { return log_.write(log_path, install_folder, shortcut_folder); }

    qv_test::temp_machine machine_;
    qv::uninstall_log log_;
};

TEST_F(uninstall_log_write, a_fresh_installation_writes_every_kind_of_record) {
    log_.records = {
        record(log_record_kind::folder, L"C:\\Program Files\\Quorvane"),
        record(log_record_kind::file, program, true, 1),
        record(log_record_kind::file, L"C:\\users\\Public\\Documents\\Varnolis Examples\\a b.vrn",
               false, 4),
        record(log_record_kind::menu_link, std::wstring(shortcut_folder) + L"\\Varnolis 2.32g.lnk"),
        record(log_record_kind::uninstall_link, L"", false),
        record(log_record_kind::desktop_link, L"C:\\users\\Public\\Desktop\\Varnolis 2.32g.lnk"),
        record(log_record_kind::uninstall_key, L""),
        record(log_record_kind::registration, L"", false),
    };
    ASSERT_FALSE(write());
    EXPECT_EQ(log_file_text(log_path),
              header_start + L"// Install Varnolis 2.32g\r\n" + folder_lines +
                  L"0000:00ff:1 -- C:\\Program Files\\Quorvane\r\n"
                  L"0001:0101:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\r\n"
                  L"0002:0104:0 -- C:\\users\\Public\\Documents\\Varnolis Examples\\a b.vrn\r\n"
                  L"0003:02ff:1 -- C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
                  L"Quorvane\\Varnolis 2\\Varnolis 2.32g.lnk\r\n"
                  L"0004:03ff:0 -- \r\n"
                  L"0005:04ff:1 -- C:\\users\\Public\\Desktop\\Varnolis 2.32g.lnk\r\n"
                  L"0006:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                  L"CurrentVersion\\Uninstall\\Varnolis 2\r\n"
                  L"0007:06ff:0 -- HKEY_CLASSES_ROOT\\...\r\n");
    EXPECT_EQ(attributes_of(log_path),
              attribute::readonly | attribute::archive | attribute::not_content_indexed);
    // Nothing but the log is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(machine_.drive_c("Program Files/Quorvane/"
                                                                    "Varnolis 2")),
                            fs::directory_iterator()),
              1);

    // The next installer run reads the records back.
    qv::uninstall_log next;
    next.read(log_path);
    EXPECT_EQ(next.previous_product, L"Varnolis 2.32g");
    EXPECT_EQ(next.previous_install_folder, install_folder);
    EXPECT_EQ(next.previous_shortcut_folder, shortcut_folder);
    std::list<log_record> expected = log_.records;
    for (log_record& r : expected) {
        if (r.kind == log_record_kind::uninstall_key || r.kind == log_record_kind::registration)
            r.path.clear();
    }
    EXPECT_EQ(next.previous_records, expected);
}

TEST(uninstall_log_text, record_lines) {
    const std::pair<log_record, const wchar_t*> cases[] = {
        {record(log_record_kind::folder, L"C:\\A"), L"0000:00ff:1 -- C:\\A"},
        {record(log_record_kind::file, L"C:\\X\\Y Z.exe", false, 0),
         L"0000:0100:0 -- C:\\X\\Y Z.exe"},
        {record(log_record_kind::file, L"C:\\B", true, 0x105), L"0000:0105:1 -- C:\\B"},
        {record(log_record_kind::desktop_link, L"C:\\D.lnk"), L"0000:04ff:1 -- C:\\D.lnk"},
    };
    for (const auto& [r, expected] : cases)
        EXPECT_EQ(qv::record_line(0, r), expected);
    const log_record folder = record(log_record_kind::folder, L"C:\\A");
    EXPECT_EQ(qv::record_line(12, folder), L"0012:00ff:1 -- C:\\A");
    EXPECT_EQ(qv::record_line(12345, folder), L"12345:00ff:1 -- C:\\A");
}

TEST(uninstall_log_text, the_rule_under_the_header_is_as_long_as_the_shortcut_line) {
    const std::wstring folder = L"C:\\" + std::wstring(37, L'x');
    ASSERT_EQ(folder.size(), 40u);
    const std::wstring text = qv::log_text({L"P", L"", L"C:\\I", folder}, {});
    EXPECT_TRUE(text.ends_with(L"// Shortcut Path : " + folder + L"\r\n// " +
                               std::wstring(56, L'-') + L"\r\n"))
        << os::to_utf8(text);
}

TEST_F(uninstall_log_write, an_update_names_the_earlier_product_and_replaces_a_read_only_log) {
    put_file(log_path,
             "\xFF\xFE" + os::to_utf16le(header_start +
                                         L"// Install Varnolis 2.31 -- Update (Varnolis 2.30)"
                                         L"\r\n" +
                                         folder_lines + L"0000:0101:1 -- C:\\Gone.exe\r\n"),
             attribute::readonly | attribute::archive | attribute::not_content_indexed);
    log_.read(log_path);
    EXPECT_EQ(log_.previous_product, L"Varnolis 2.31");
    ASSERT_FALSE(write());
    EXPECT_EQ(log_file_text(log_path), header_start +
                                           L"// Install Varnolis 2.32g -- Update (Varnolis 2.31)"
                                           L"\r\n" +
                                           folder_lines + L"0000:0101:1 -- C:\\Gone.exe\r\n");
    EXPECT_TRUE(log_.previous_records.empty());
}

TEST_F(uninstall_log_write, merges_the_earlier_records_that_this_run_did_not_supersede) {
    put_file(program, "program");
    const std::wstring old_menu_link = std::wstring(shortcut_folder) + L"\\Varnolis 2.31.lnk";
    const std::wstring new_menu_link = std::wstring(shortcut_folder) + L"\\Varnolis 2.32g.lnk";
    log_.previous_records = {
        record(log_record_kind::folder, L"C:\\Program Files\\Quorvane"),
        record(log_record_kind::desktop_link, L"C:\\users\\Public\\Desktop\\V 2.30.lnk"),
        // Rewritten by this run: the same file, however spelled.
        record(log_record_kind::file, L"c:/program files/QUORVANE/varnolis 2/VARNOLIS.EXE", true,
               1),
        // No longer in the payload.
        record(log_record_kind::file, L"C:\\Program Files\\Quorvane\\Varnolis 2\\old.dll", true, 0),
        record(log_record_kind::menu_link, old_menu_link),
        record(log_record_kind::uninstall_key, L""),
        record(log_record_kind::desktop_link, L"C:\\users\\Public\\Desktop\\V 2.31.lnk"),
        record(log_record_kind::registration, L""),
    };
    log_.records = {
        record(log_record_kind::file, program, true, 1),
        record(log_record_kind::menu_link, new_menu_link),
        record(log_record_kind::uninstall_key, L"", false),
        record(log_record_kind::registration, L""),
    };
    ASSERT_FALSE(write());
    // The later of two earlier desktop links supersedes the first once it has been kept.
    const std::list<log_record> expected = {
        record(log_record_kind::folder, L"C:\\Program Files\\Quorvane"),
        record(log_record_kind::file, L"C:\\Program Files\\Quorvane\\Varnolis 2\\old.dll", true, 0),
        record(log_record_kind::desktop_link, L"C:\\users\\Public\\Desktop\\V 2.31.lnk"),
        record(log_record_kind::file, program, true, 1),
        record(log_record_kind::menu_link, new_menu_link),
        record(log_record_kind::uninstall_key,
               L"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
               L"Varnolis 2",
               false),
        record(log_record_kind::registration, L"HKEY_CLASSES_ROOT\\..."),
    };
    EXPECT_EQ(log_.records, expected);
    EXPECT_TRUE(log_.previous_records.empty());
    EXPECT_TRUE(log_file_text(log_path).ends_with(
        L"0001:0100:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\old.dll\r\n"
        L"0002:04ff:1 -- C:\\users\\Public\\Desktop\\V 2.31.lnk\r\n"
        L"0003:0101:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\r\n"
        L"0004:02ff:1 -- C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\"
        L"Varnolis 2\\Varnolis 2.32g.lnk\r\n"
        L"0005:05ff:0 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
        L"Uninstall\\Varnolis 2\r\n"
        L"0006:06ff:1 -- HKEY_CLASSES_ROOT\\...\r\n"));
}

TEST_F(uninstall_log_write, backups_go_only_once_the_log_is_written) {
    put_file(program, "program 2.31", attribute::readonly);
    put_file(log_path, "earlier log", attribute::readonly);
    ASSERT_FALSE(log_.add_file(program, 1, qv::existing_file::move_to_backup));
    put_file(program, "program 2.32g");
    log_.settle_pending(qv::action_outcome::done);
    const std::set<std::wstring> backups = temporary_backups();
    ASSERT_EQ(backups.size(), 1u);

    // A log that cannot be written: its folder is missing.
    EXPECT_TRUE(log_.write(L"C:\\Missing\\Uninstall.ulog", install_folder, shortcut_folder));
    EXPECT_EQ(temporary_backups(), backups);
    EXPECT_EQ(log_.records.back().backup, *backups.begin());

    ASSERT_FALSE(write());
    EXPECT_TRUE(temporary_backups().empty());
    EXPECT_TRUE(log_.records.back().backup.empty());
    EXPECT_TRUE(log_file_text(log_path).ends_with(
        L"0000:0101:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\r\n"));
}

} // namespace
