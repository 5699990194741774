#pragma once
// Shared pieces of the journal's tests: files made and read through the file layer, the backups
// in the temporary folder, and records printed readably.

#include "engine/uninstall_log.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/temporary_files.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <span>
#include <string>
#include <string_view>

namespace qv {
inline void PrintTo(const log_record& record, std::ostream* out) {
    *out << static_cast<int>(record.kind) << " " << platform::os::to_utf8(record.path) << " done "
         << record.done << " entry " << record.entry_kind_value << " backup "
         << platform::os::to_utf8(record.backup) << " from "
         << platform::os::to_utf8(record.backup_origin);
}
} // namespace qv

namespace journal_test {

namespace os = platform::os;

inline std::error_code code(os::win32_error error) {
    return os::make_error_code(error);
}

// Makes or overwrites a file holding content, then gives it attributes.
inline void put_file(std::wstring_view path, std::string_view content,
                     std::uint32_t attributes = os::file_attribute::archive) {
    const auto host = os::host_path(path);
    ASSERT_TRUE(host) << os::to_utf8(path);
    std::filesystem::create_directories(host->parent_path());
    qv_test::write_host_file(*host, std::string(content));
    ASSERT_FALSE(os::set_file_attributes(path, attributes)) << os::to_utf8(path);
}

inline std::string content_of(std::wstring_view path) {
    return qv_test::read_host_file(*os::host_path(path));
}

inline std::uint32_t attributes_of(std::wstring_view path) {
    const auto attributes = os::get_file_attributes(path, os::symlinks::refuse);
    return attributes ? *attributes : os::file_attribute::invalid;
}

inline std::wstring temporary_folder() {
    return os::temporary_folder().value();
}

// The names of the "qv" files in the temporary folder: the backups still there.
inline std::set<std::wstring> temporary_backups() {
    std::set<std::wstring> names;
    const auto folder = *os::host_path(temporary_folder());
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("qv"))
            names.insert(temporary_folder() + os::from_utf8(name));
    }
    return names;
}

// A log file's text without its byte order mark; fails the test when the mark is missing.
inline std::wstring log_file_text(std::wstring_view path) {
    const std::string bytes = content_of(path);
    EXPECT_TRUE(bytes.starts_with("\xFF\xFE"));
    return os::from_utf16le(std::string_view(bytes).substr(2));
}

inline constexpr wchar_t program[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";

// A journal on a machine of its own; the failing-operation hook is off again after each test.
class journal_fixture : public testing::Test {
protected:
    journal_fixture() { os::machine_root(); }
    ~journal_fixture() override { os::fail_file_operation(0, 0); }

    qv_test::temp_machine machine_;
    qv::uninstall_log log_;
};

} // namespace journal_test
