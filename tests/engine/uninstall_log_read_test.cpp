#include "engine/uninstall_log.h"

#include "platform/os/file_attributes.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using qv::log_record;
using qv::log_record_kind;

namespace qv {
void PrintTo(const log_record& record, std::ostream* out) {
    *out << static_cast<int>(record.kind) << " " << os::to_utf8(record.path) << " done "
         << record.done << " entry " << record.entry_kind_value;
}
} // namespace qv

namespace {

constexpr wchar_t log_path[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.ulog";

class uninstall_log_read : public testing::Test {
protected:
    void SetUp() override {
        os::machine_root();
        fs::create_directories(machine_.drive_c("Program Files/Quorvane/Varnolis 2"));
        fs::create_directories(machine_.drive_c("ProgramData/Microsoft/Windows/Start Menu/"
                                                "Programs/Quorvane/Varnolis 2"));
    }

    // Writes the log as the installer does: UTF-16LE with a byte order mark, CR LF line ends.
    void write_utf16(std::wstring_view text) {
        qv_test::write_host_file(host(), "\xFF\xFE" + os::to_utf16le(text));
    }

    fs::path host() const { return *os::host_path(log_path); }

    qv_test::temp_machine machine_;
};

const std::wstring header =
    L"// Uninstall Log File v1\r\n"
    L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
    L"// Install Varnolis 2.31 -- Update (Varnolis 2.30)\r\n"
    L"// Install Path : C:\\Program Files\\Quorvane\\Varnolis 2\r\n"
    L"// Shortcut Path : C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\"
    L"Varnolis 2\r\n"
    L"// -----------------------------------------------------------------------------------\r\n";

TEST_F(uninstall_log_read, reads_the_header_and_every_record) {
    write_utf16(header +
                L"0000:00ff:1 -- C:\\Program Files\\Quorvane\r\n"
                L"0001:0101:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\r\n"
                L"0002:0304:0 -- C:\\users\\Public\\Desktop\\Varnolis Examples\\a b.vrn\r\n"
                L"0003:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\"
                L"CurrentVersion\\Uninstall\\Varnolis 2\r\n"
                L"0004:06ff:1 -- HKEY_CLASSES_ROOT\\...\r\n");
    qv::uninstall_log log;
    log.read(log_path);
    EXPECT_EQ(log.previous_product, L"Varnolis 2.31");
    EXPECT_EQ(log.previous_install_folder, L"C:\\Program Files\\Quorvane\\Varnolis 2");
    EXPECT_EQ(log.previous_shortcut_folder,
              L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2");
    const std::list<log_record> expected = {
        {log_record_kind::folder, L"C:\\Program Files\\Quorvane", L"", true, -1, L""},
        {log_record_kind::file, L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe", L"", true,
         1, L""},
        {log_record_kind::uninstall_link, L"C:\\users\\Public\\Desktop\\Varnolis Examples\\a b.vrn",
         L"", false, 4, L""},
        {log_record_kind::uninstall_key, L"", L"", true, -1, L""},
        {log_record_kind::registration, L"", L"", true, -1, L""},
    };
    EXPECT_EQ(log.previous_records, expected);
    EXPECT_TRUE(log.is_installed_file(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe"));
    EXPECT_FALSE(log.is_installed_file(L"C:\\Program Files\\Quorvane\\Varnolis 2\\VARNOLIS.EXE"));
}

struct record_case {
    const wchar_t* line;
    std::optional<log_record> expected; // none: the reading stops at this line
};

TEST_F(uninstall_log_read, record_lines) {
    const record_case cases[] = {
        {L"0003:0101:1 -- C:\\X\\Y Z.exe",
         log_record{log_record_kind::file, L"C:\\X\\Y Z.exe", L"", true, 1, L""}},
        {L"3:ff:0 -- C:\\X", log_record{log_record_kind::folder, L"C:\\X", L"", false, -1, L""}},
        {L"  7 : 04FF : 1   --    C:\\Y  ",
         log_record{log_record_kind::desktop_link, L"C:\\Y", L"", true, -1, L""}},
        {L"0003:0701:1 -- C:\\X", std::nullopt},
        {L"0003:0101:2 -- C:\\X", std::nullopt},
        {L"0003:0101:1 - C:\\X", std::nullopt},
        {L"0003:0101:1 --C:\\X", std::nullopt},
        {L"-1:0101:1 -- C:\\X", std::nullopt},
        {L"0003;0101:1 -- C:\\X", std::nullopt},
        {L"0003:zz:1 -- C:\\X", std::nullopt},
        {L"99999999999999999999999:0101:1 -- C:\\X", std::nullopt},
        // Both numbers read as signed 32-bit integers do.
        {L"+3:+1ff:1 -- C:\\X", log_record{log_record_kind::file, L"C:\\X", L"", true, -1, L""}},
        {L"2147483647:0100:1 -- C:\\X",
         log_record{log_record_kind::file, L"C:\\X", L"", true, 0, L""}},
        {L"2147483648:0100:1 -- C:\\X", std::nullopt},
        {L"3:-1:1 -- C:\\X", std::nullopt},
        {L"3:100000000:1 -- C:\\X", std::nullopt},
    };
    for (const auto& c : cases) {
        write_utf16(header + c.line + L"\r\n0009:00ff:1 -- C:\\After\r\n");
        qv::uninstall_log log;
        log.read(log_path);
        if (c.expected) {
            ASSERT_EQ(log.previous_records.size(), 2u) << os::to_utf8(c.line);
            EXPECT_EQ(log.previous_records.front(), *c.expected) << os::to_utf8(c.line);
        } else {
            EXPECT_TRUE(log.previous_records.empty()) << os::to_utf8(c.line);
        }
    }
}

TEST_F(uninstall_log_read, fresh_installation_header_has_no_update_part) {
    write_utf16(L"// Uninstall Log File v1\r\n// x\r\n// Install Varnolis 2.32g\r\n");
    qv::uninstall_log log;
    log.read(log_path);
    EXPECT_EQ(log.previous_product, L"Varnolis 2.32g");
}

TEST_F(uninstall_log_read, stops_at_a_blank_line_and_keeps_what_came_before) {
    write_utf16(header + L"0000:00ff:1 -- C:\\A\r\n\r\n0001:00ff:1 -- C:\\B\r\n");
    qv::uninstall_log log;
    log.read(log_path);
    ASSERT_EQ(log.previous_records.size(), 1u);
    EXPECT_EQ(log.previous_records.front().path, L"C:\\A");
}

TEST_F(uninstall_log_read, headers_that_stop_the_reading) {
    const std::wstring records = L"0000:00ff:1 -- C:\\A\r\n";
    const std::wstring stopping[] = {
        L"// Uninstall Log File v2\r\n// w\r\n// Install V\r\n" + records,
        L"// Something else v1\r\n" + records,
        records,
        L"// Uninstall Log File v1\r\n// w\r\n// Setup V\r\n" + records,
        // An empty folder line loses its label's blank when trailing blanks are trimmed.
        L"// Uninstall Log File v1\r\n// w\r\n// Install V\r\n// Install Path : \r\n" + records,
    };
    for (const auto& text : stopping) {
        write_utf16(text);
        qv::uninstall_log log;
        log.read(log_path);
        EXPECT_TRUE(log.previous_records.empty()) << os::to_utf8(text);
        EXPECT_TRUE(log.previous_install_folder.empty());
    }
}

TEST_F(uninstall_log_read, folders_that_no_longer_exist_are_ignored) {
    fs::remove_all(machine_.drive_c("ProgramData/Microsoft/Windows/Start Menu/Programs/Quorvane"));
    write_utf16(header + L"0000:00ff:1 -- C:\\A\r\n");
    qv::uninstall_log log;
    log.previous_shortcut_folder = L"stale";
    log.read(log_path);
    EXPECT_EQ(log.previous_install_folder, L"C:\\Program Files\\Quorvane\\Varnolis 2");
    EXPECT_TRUE(log.previous_shortcut_folder.empty());
    EXPECT_EQ(log.previous_records.size(), 1u);
}

TEST_F(uninstall_log_read, a_log_without_byte_order_mark_is_single_byte_text) {
    qv_test::write_host_file(host(),
                             "// Uninstall Log File v1\n// w\n// Install Varnolis\x92s 2\n"
                             "// Install Path : C:\\Nowhere\n// Shortcut Path : C:\\Nowhere\n"
                             "0000:0101:1 -- C:\\caf\xe9.txt\n");
    qv::uninstall_log log;
    log.read(log_path);
    EXPECT_EQ(log.previous_product, L"Varnolis\u2019s 2");
    ASSERT_EQ(log.previous_records.size(), 1u);
    EXPECT_EQ(log.previous_records.front().path, L"C:\\caf\u00e9.txt");
}

TEST_F(uninstall_log_read, an_overlong_line_ends_the_reading_without_overrun) {
    write_utf16(header + L"0000:00ff:1 -- C:\\A\r\n0001:00ff:1 -- C:\\" + std::wstring(3000, L'x') +
                L"\r\n0002:00ff:1 -- C:\\B\r\n");
    qv::uninstall_log log;
    log.read(log_path);
    ASSERT_EQ(log.previous_records.size(), 1u);
    EXPECT_EQ(log.previous_records.front().path, L"C:\\A");
}

TEST_F(uninstall_log_read, a_missing_file_or_no_path_only_empties_the_folders) {
    qv::uninstall_log log;
    log.previous_install_folder = L"C:\\Old";
    log.previous_shortcut_folder = L"C:\\Old";
    log.read(std::nullopt);
    EXPECT_TRUE(log.previous_install_folder.empty());
    EXPECT_TRUE(log.previous_shortcut_folder.empty());
    log.read(L"C:\\missing\\Uninstall.ulog");
    EXPECT_TRUE(log.previous_records.empty());
}

TEST_F(uninstall_log_read, the_last_line_may_end_without_a_line_break) {
    write_utf16(header + L"0000:00ff:1 -- C:\\A");
    qv::uninstall_log log;
    log.read(log_path);
    ASSERT_EQ(log.previous_records.size(), 1u);
    EXPECT_EQ(log.previous_records.front().path, L"C:\\A");
}

} // namespace
