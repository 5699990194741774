// Over an earlier installation, every file operation of the extraction is made to fail in turn:
// each run must report the failure and leave the machine exactly as it found it.

#include "tests/engine/install_fixture.h"

#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/registry.h"
#include "platform/os/temporary_files.h"
#include "tests/support/machine_snapshot.h"

#include <gtest/gtest.h>

namespace install_test {
namespace {

constexpr std::wstring_view program = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
constexpr std::wstring_view texts = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Lang\\de.dll";
constexpr std::wstring_view shared_data = L"C:\\ProgramData\\Quorvane\\stock.dat";

void put_file(std::wstring_view path, const std::string& content) {
    const auto host = os::host_path(path);
    ASSERT_TRUE(host);
    std::filesystem::create_directories(host->parent_path());
    qv_test::write_host_file(*host, content);
}

TEST_F(install_page, any_failing_file_operation_of_the_extraction_leaves_the_machine_unchanged) {
    put_file(program, "earlier main program");
    put_file(texts, "earlier texts");
    ASSERT_FALSE(os::set_file_attributes(texts, os::file_attribute::readonly));
    put_file(shared_data, "the users' own data");
    {
        const auto key = os::create_key(os::predefined_key::local_machine,
                                        L"Software\\Microsoft\\Windows\\CurrentVersion\\"
                                        L"Uninstall\\Varnolis 2",
                                        os::key_access::all_access);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_string_value(key->key, L"DisplayName", L"Varnolis 2.31"));
    }
    ASSERT_TRUE(os::temporary_folder());
    session.start_menu_shortcut = false;
    session.desktop_shortcut = false;
    auto entries = product_entries();
    entries.erase(entries.begin() + 4); // the sample: one entry of each other kind is enough
    use_payload(entries);
    const qv_test::machine_snapshot before = qv_test::take_machine_snapshot();

    constexpr std::uint32_t write_fault = 29;
    std::uint64_t failing = 0;
    with_page([&] {
        for (std::uint64_t n = 1; n < 1000; ++n) {
            os::fail_file_operation(n, write_fault);
            if (page.DoInstall())
                break;
            failing = n;
            EXPECT_TRUE(session.install_log.records.empty()) << "operation " << n;
            const auto differences =
                qv_test::snapshot_differences(before, qv_test::take_machine_snapshot());
            ASSERT_EQ(differences, "") << "operation " << n;
        }
    });
    os::fail_file_operation(0, 0);
    // Backups, the five files, their folders and checks take more operations than this.
    EXPECT_GT(failing, 20u);
    EXPECT_EQ(qv_test::read_host_file(*os::host_path(program)).substr(0, 4), "main");
}

} // namespace
} // namespace install_test
