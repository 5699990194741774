// An installation over an earlier one, failing at each of its file operations in turn: every
// failed run is rolled back and must leave the machine exactly as it was, with no backup left.

#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"
#include "platform/os/file_faults.h"
#include "platform/os/registry.h"

#include "tests/engine/journal_test_support.h"
#include "tests/support/machine_snapshot.h"

#include <filesystem>
#include <span>

namespace fs = std::filesystem;
namespace os = platform::os;
using journal_test::attributes_of;
using journal_test::code;
using journal_test::content_of;
using journal_test::log_file_text;
using journal_test::put_file;
using journal_test::temporary_backups;
using qv::existing_file;
namespace attribute = os::file_attribute;

namespace {

constexpr std::uint32_t injected = 112; // ERROR_DISK_FULL

constexpr wchar_t install_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";
constexpr wchar_t shortcut_folder[] =
    L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
constexpr wchar_t log_path[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.ulog";
constexpr wchar_t program[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
constexpr wchar_t uninstaller[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.exe";
constexpr wchar_t readme[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\readme.txt";
constexpr wchar_t plugin[] = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Plugins\\Base\\base.dll";
constexpr wchar_t shared[] = L"C:\\ProgramData\\Quorvane\\Varnolis 2\\settings.dat";
constexpr wchar_t sample[] = L"C:\\users\\Public\\Documents\\Varnolis Examples\\Demo\\a.vrn";
constexpr wchar_t old_link[] = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
                               L"Quorvane\\Varnolis 2\\Varnolis 2.31.lnk";
constexpr wchar_t new_link[] = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\"
                               L"Quorvane\\Varnolis 2\\Varnolis 2.32g.lnk";

std::wstring product_key_path() {
    return std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2";
}

os::registry_key create_key(os::predefined_key root, std::wstring_view path) {
    return os::create_key(root, path, os::key_access::all_access).value().key;
}

// Varnolis 2.31 as its installation left it: read-only programs, a hidden readme, the earlier
// log, the Start-menu link, the Uninstall key with a value and a subkey of its own, and a
// shared settings file the user made that no log knows of.
void make_earlier_installation() {
    os::machine_root();
    put_file(program, "program 2.31", attribute::readonly | attribute::archive);
    put_file(uninstaller, "uninstaller 2.31", attribute::readonly | attribute::archive);
    put_file(readme, "readme 2.31", attribute::hidden | attribute::archive);
    put_file(shared, "the user's settings", attribute::archive);
    put_file(old_link, "link to 2.31", attribute::archive);
    const std::wstring earlier_log =
        L"// Uninstall Log File v1\r\n// ############ WARNING: Do not delete or modify this file. "
        L"############\r\n// Install Varnolis 2.31\r\n// Install Path : " +
        std::wstring(install_folder) + L"\r\n// Shortcut Path : " + shortcut_folder +
        L"\r\n// ---\r\n"
        L"0000:00ff:1 -- C:\\Program Files\\Quorvane\r\n"
        L"0001:00ff:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\r\n"
        L"0002:0101:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\r\n"
        L"0003:0102:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.exe\r\n"
        L"0004:0100:1 -- C:\\Program Files\\Quorvane\\Varnolis 2\\readme.txt\r\n"
        L"0005:02ff:1 -- " +
        old_link +
        L"\r\n"
        L"0006:05ff:1 -- HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\"
        L"Uninstall\\Varnolis 2\r\n";
    put_file(log_path, "\xFF\xFE" + os::to_utf16le(earlier_log),
             attribute::readonly | attribute::archive | attribute::not_content_indexed);
    create_key(os::predefined_key::local_machine, L"Software\\Classes");
    const os::registry_key key = create_key(os::predefined_key::local_machine, product_key_path());
    ASSERT_FALSE(os::set_string_value(key, L"DisplayName", L"Varnolis 2.31"));
    ASSERT_FALSE(os::set_string_value(key, L"UninstallString", uninstaller));
    ASSERT_FALSE(os::set_dword_value(key, L"Custom", 7));
    ASSERT_FALSE(os::set_string_value(
        create_key(os::predefined_key::local_machine, product_key_path() + L"\\Options"), L"Mode",
        L"quiet"));
}

// Writes a file as the extractor does, through the file layer.
std::error_code write_file(std::wstring_view path, std::string_view content) {
    auto file = os::create_file(path, os::file_access::generic_write, os::file_share::none,
                                os::creation::create_always, os::file_attribute::normal,
                                os::symlinks::refuse);
    if (!file)
        return file.error();
    if (auto error = file->write(std::as_bytes(std::span(content.data(), content.size()))))
        return error;
    return file->close();
}

// One payload entry: recorded, its earlier file set aside, then written unless kept.
std::error_code install_file(qv::uninstall_log& log, std::wstring_view path,
                             std::string_view content, std::int32_t kind,
                             existing_file existing = existing_file::move_to_backup) {
    if (auto error = log.add_file(path, kind, existing))
        return error;
    if (existing == existing_file::move_to_backup) {
        if (auto error = write_file(path, content)) {
            log.settle_pending(qv::action_outcome::not_done);
            return error;
        }
    }
    log.settle_pending(qv::action_outcome::done);
    return {};
}

// The installation's changes in the order of the install sequence, stopping at the first
// failure as the extraction does.
std::error_code install(qv::uninstall_log& log) {
    const struct {
        const wchar_t* path;
        const char* content;
        std::int32_t kind;
        existing_file existing;
    } entries[] = {
        {program, "program 2.32g", 1, existing_file::move_to_backup},
        {uninstaller, "uninstaller 2.32g", 2, existing_file::move_to_backup},
        {readme, "readme 2.32g", 0, existing_file::move_to_backup},
        {plugin, "plug-in 2.32g", 0, existing_file::move_to_backup},
        {shared, "", 3, existing_file::copy_to_backup},
        {sample, "sample 2.32g", 4, existing_file::move_to_backup},
    };
    for (const auto& entry : entries) {
        if (auto error = install_file(log, entry.path, entry.content, entry.kind, entry.existing))
            return error;
    }

    if (auto error = log.add_shortcut(qv::shortcut_kind::menu, shortcut_folder))
        return error;
    // The link's path is known before it is made, so that a rollback also removes a link left
    // half-written.
    log.records.back().path = new_link;
    if (auto error = write_file(new_link, "link to 2.32g")) {
        log.settle_pending(qv::action_outcome::not_done);
        return error;
    }
    log.settle_pending(qv::action_outcome::done);

    const os::registry_key uninstall =
        create_key(os::predefined_key::local_machine, qv::uninstall_key_path);
    auto product = os::create_key(uninstall, L"Varnolis 2", os::key_access::all_access).value();
    const bool existed = product.disposition == os::key_disposition::opened_existing_key;
    if (auto error = log.add_uninstall_key(existed ? &product.key : nullptr))
        return error;
    const bool stored = !os::set_string_value(product.key, L"DisplayName", L"Varnolis 2.32g") &&
                        !os::set_string_value(product.key, L"UninstallString", uninstaller);
    os::set_dword_value(product.key, L"NoModify", 1);
    log.settle_pending(stored ? qv::action_outcome::done : qv::action_outcome::not_done);
    return {};
}

// Whether the run reached the operation chosen to fail. The runs before failed at each earlier
// one, so a run that did not reach it ended just before it: the next operation is the chosen one.
bool fault_was_reached() {
    const bool reached = os::begin_file_operation() != code(os::win32_error::disk_full);
    os::fail_file_operation(0, 0);
    return reached;
}

// The installation completed: the new files are in place and the earlier ones in backups.
void expect_installed() {
    EXPECT_EQ(content_of(program), "program 2.32g");
    EXPECT_EQ(content_of(sample), "sample 2.32g");
    EXPECT_EQ(content_of(shared), "the user's settings");
    EXPECT_FALSE(os::path_exists(old_link));
    EXPECT_EQ(temporary_backups().size(), 6u); // four files, the link and the key
}

TEST(uninstall_log_faults, every_failed_run_is_undone_completely) {
    qv_test::temp_machine machine;
    make_earlier_installation();
    const qv_test::machine_snapshot before = qv_test::take_machine_snapshot();
    for (std::uint64_t failing = 1;; ++failing) {
        qv::uninstall_log log;
        log.read(log_path);
        os::fail_file_operation(failing, injected);
        const std::error_code error = install(log);
        if (!error) {
            ASSERT_FALSE(fault_was_reached())
                << "a failure at operation " << failing << " went unreported";
            EXPECT_GT(failing, 20u);
            expect_installed();
            ASSERT_FALSE(log.write(log_path, install_folder, shortcut_folder));
            EXPECT_TRUE(temporary_backups().empty());
            break;
        }
        os::fail_file_operation(0, 0);
        EXPECT_EQ(error, code(os::win32_error::disk_full)) << "at operation " << failing;
        EXPECT_FALSE(log.rollback()) << "at operation " << failing;
        ASSERT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "")
            << "after a failure at operation " << failing;
    }
}

// Writing the log fails at each of its operations in turn: until the new log is in place the
// earlier log and every backup stay; once it is, the backups go.
TEST(uninstall_log_faults, backups_stay_until_the_log_is_in_place) {
    for (std::uint64_t failing = 1;; ++failing) {
        qv_test::temp_machine machine;
        make_earlier_installation();
        const std::string earlier_log = content_of(log_path);
        qv::uninstall_log log;
        log.read(log_path);
        ASSERT_FALSE(install(log));
        const std::set<std::wstring> backups = temporary_backups();

        os::fail_file_operation(failing, injected);
        const std::error_code error = log.write(log_path, install_folder, shortcut_folder);
        if (error) {
            os::fail_file_operation(0, 0);
            EXPECT_EQ(content_of(log_path), earlier_log) << "at operation " << failing;
            EXPECT_EQ(attributes_of(log_path),
                      attribute::readonly | attribute::archive | attribute::not_content_indexed);
            EXPECT_EQ(temporary_backups(), backups) << "at operation " << failing;
            // Nothing of the new log is left beside it: the three programs, Plugins and the log.
            EXPECT_EQ(std::distance(fs::directory_iterator(*os::host_path(install_folder)),
                                    fs::directory_iterator()),
                      5)
                << "at operation " << failing;
            ASSERT_FALSE(log.write(log_path, install_folder, shortcut_folder));
            EXPECT_TRUE(temporary_backups().empty());
            continue;
        }
        EXPECT_TRUE(log_file_text(log_path).starts_with(L"// Uninstall Log File v1\r\n"));
        if (!fault_was_reached()) {
            EXPECT_TRUE(temporary_backups().empty());
            break;
        }
        // The log is in place; only deleting a backup failed, and that one stays behind.
        EXPECT_EQ(temporary_backups().size(), 1u) << "at operation " << failing;
    }
}

} // namespace
