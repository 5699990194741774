// The install page driven in-process through the headless frame: its summary and texts, the
// whole installation on fresh and earlier-installed machines, the payload's edge cases and a
// second run after a failure.

#include "tests/engine/install_fixture.h"

#include "app/product_identity.h"
#include "engine/shortcut.h"
#include "engine/uninstall_entry.h"
#include "platform/os/com_library.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/registry.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_link.h"
#include "platform/os/temporary_files.h"
#include "tests/support/security_test_support.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace install_test {
namespace {

constexpr std::wstring_view program = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
constexpr std::wstring_view uninstaller = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.exe";
constexpr std::wstring_view shared_data = L"C:\\ProgramData\\Quorvane\\stock.dat";

std::wstring sample_path() {
    std::wstring desktop;
    EXPECT_TRUE(os::get_special_folder_path(0x19, desktop));
    return desktop + L"\\Varnolis Examples\\Sample.vns";
}

std::string content_of(std::wstring_view path) {
    const auto host = os::host_path(path);
    if (!host || !std::filesystem::exists(*host))
        return "(missing)";
    return qv_test::read_host_file(*host);
}

void put_file(std::wstring_view path, const std::string& content) {
    const auto host = os::host_path(path);
    ASSERT_TRUE(host);
    std::filesystem::create_directories(host->parent_path());
    qv_test::write_host_file(*host, content);
}

std::wstring string_value(std::wstring_view key_path, std::wstring_view name) {
    const auto key =
        os::open_key(os::predefined_key::local_machine, key_path, os::key_access::read);
    if (!key)
        return L"(no key)";
    const auto value = os::query_value(*key, name);
    if (!value)
        return L"(no value)";
    auto text = os::from_utf16le(value->bytes);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::wstring link_target(const std::wstring& link_path) {
    const os::com_initialization com;
    auto link = os::shell_link::create().value();
    if (auto error = link.load(link_path))
        return L"(unreadable)";
    return link.fields().target;
}

std::vector<std::wstring> log_file_lines(std::wstring_view path) {
    const std::string bytes = content_of(path);
    std::wstring text = os::from_utf16le(std::string_view(bytes).substr(2));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = text.find(L"\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::wstring::npos ? text.size() : end + 2;
    }
    return lines;
}

std::string users_entries(std::wstring_view path) {
    return security_test::acl_text(*os::host_path(path), security_test::list_kind::access);
}

bool is_read_only(std::wstring_view path) {
    const auto attributes = os::get_file_attributes(path);
    return attributes && (*attributes & os::file_attribute::readonly);
}

TEST_F(install_page, before_installing_the_page_shows_a_summary_of_the_options) {
    struct options_case {
        bool start_menu;
        bool desktop;
        std::wstring shortcut_lines;
    } const cases[] = {
        {true, true,
         L"Creating a Shortcut in the Start Menu (Folder \"" + std::wstring(shortcut_folder) +
             L"\").\r\nCreating a Shortcut on the Desktop.\r\n"},
        {false, true, L"Creating a Shortcut on the Desktop.\r\n"},
        {false, false, L""},
    };
    for (const auto& options : cases) {
        qv::install_session shown;
        shown.install_folder = L"D:\\Varnolis";
        shown.shortcut_folder = shortcut_folder;
        shown.start_menu_shortcut = options.start_menu;
        shown.desktop_shortcut = options.desktop;
        qv::CDlgInstall summary_page(shown);
        qv_test::frame_dialog summary_frame(summary_page, IDD_INSTALL_PAGE);
        ui_session.input.on_first_turn([&](ui::dialog&) {
            summary_page.ApplyLanguage();
            const auto& box =
                dynamic_cast<const ui::edit&>(*summary_page.GetDlgItem(IDC_LOG)->GetSafeHwnd());
            EXPECT_EQ(box.text(), L"'Varnolis 2.32g' Installation.\r\n"
                                  L"-------------- Installation Options --------------\r\n"
                                  L"Installation Folder: D:\\Varnolis.\r\n" +
                                      options.shortcut_lines);
            EXPECT_EQ(box.first_visible_line(), 0);
            EXPECT_EQ(summary_page.GetDlgItem(IDC_STATUS)->GetWindowText(),
                      L"Click on 'Install' to start Installation.");
            const auto& bar = dynamic_cast<const ui::progress_bar&>(
                *summary_page.GetDlgItem(IDC_PROGRESS)->GetSafeHwnd());
            EXPECT_FALSE(bar.is_visible());
            EXPECT_EQ(bar.range(), (ui::progress_range{0, 100}));
        });
        summary_frame.DoModal();
    }
}

TEST_F(install_page, a_fresh_machine_gets_every_file_link_value_and_the_uninstall_log) {
    // 40 characters, so that the log's rule is 56 dashes long.
    const std::wstring links = L"C:\\ProgramData\\Quorvane\\Varnolis Folders";
    session.shortcut_folder = links;
    use_payload(product_entries());
    EXPECT_EQ(install(), std::vector<bool>{true});

    EXPECT_EQ(content_of(program), "main program");
    EXPECT_EQ(content_of(std::wstring(install_folder) + L"\\Lang\\de.dll"), "german texts");
    EXPECT_EQ(content_of(uninstaller), "uninstaller");
    EXPECT_EQ(content_of(shared_data), "shared data");
    EXPECT_EQ(content_of(sample_path()), "sample");
    EXPECT_TRUE(is_read_only(program));
    EXPECT_TRUE(is_read_only(uninstaller));
    EXPECT_FALSE(is_read_only(shared_data));
    EXPECT_NE(security_test::acl_text(*os::host_path(shared_data), security_test::list_kind::access)
                  .find("group:users:rw-"),
              std::string::npos);
    // The run's temporary folder went with its file.
    EXPECT_FALSE(session.temporary_folder.empty());
    EXPECT_FALSE(os::path_exists(session.temporary_folder));

    EXPECT_EQ(link_target(links + L"\\Varnolis 2.32g.lnk"), program);
    EXPECT_EQ(link_target(links + L"\\Uninstall Varnolis.lnk"), uninstaller);
    EXPECT_EQ(link_target(*qv::desktop_link_folder() + L"\\Varnolis 2.32g.lnk"), program);
    EXPECT_NE(users_entries(L"C:\\ProgramData\\Quorvane").find("group:users:rwx"),
              std::string::npos);

    const std::wstring product_key = std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2";
    EXPECT_EQ(string_value(product_key, L"DisplayName"), L"Varnolis 2.32g");
    EXPECT_EQ(string_value(product_key, L"UninstallString"), uninstaller);
    EXPECT_EQ(string_value(L"Software\\Quorvane", L"Varnolis 2 Path"), program);
    const auto log_lines = log_file_lines(std::wstring(install_folder) + L"\\Uninstall.ulog");
    ASSERT_GT(log_lines.size(), 6u);
    EXPECT_EQ(log_lines[4], L"// Shortcut Path : " + links);
    EXPECT_EQ(log_lines[5], L"// " + std::wstring(56, L'-'));

    // The payload's main program is no program: its registration run cannot start.
    const std::wstring expected_end =
        L"Preparing Installation...OK\r\n"
        L"Copying File  \"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\"...OK\r\n";
    EXPECT_NE(final_log.find(expected_end), std::wstring::npos) << os::to_utf8(final_log);
    EXPECT_TRUE(final_log.ends_with(L"Shortcuts Creation...OK\r\n"
                                    L"Registry Data Writing...Failed\r\n"
                                    L"Installation Data Writing...OK\r\n"))
        << os::to_utf8(final_log);
    EXPECT_EQ(final_status, L"Click on 'Next' to continue.");
}

TEST_F(install_page, without_a_main_program_no_link_is_made_and_no_registration_runs) {
    use_payload(product_entries_without(qv::entry_kind::main_program));
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_TRUE(final_log.ends_with(L"Shortcuts Creation...Failed\r\n"
                                    L"Registry Data Writing...Failed\r\n"
                                    L"Installation Data Writing...OK\r\n"))
        << os::to_utf8(final_log);
    EXPECT_EQ(content_of(std::wstring(install_folder) + L"\\Lang\\de.dll"), "german texts");
    EXPECT_FALSE(os::path_exists(std::wstring(shortcut_folder) + L"\\Varnolis 2.32g.lnk"));
    EXPECT_TRUE(os::path_exists(std::wstring(shortcut_folder) + L"\\Uninstall Varnolis.lnk"));
}

TEST_F(install_page, without_an_uninstaller_the_entry_has_no_uninstall_string_and_no_log) {
    use_payload(product_entries_without(qv::entry_kind::uninstaller));
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_TRUE(final_log.ends_with(L"Shortcuts Creation...Failed\r\n"
                                    L"Registry Data Writing...Failed\r\n"
                                    L"Installation Data Writing...Failed\r\n"))
        << os::to_utf8(final_log);
    EXPECT_EQ(
        string_value(std::wstring(qv::uninstall_key_path) + L"\\Varnolis 2", L"UninstallString"),
        L"");
    EXPECT_FALSE(os::path_exists(std::wstring(install_folder) + L"\\Uninstall.ulog"));
}

TEST_F(install_page, a_larger_page_gives_the_log_box_the_room_and_moves_the_bar_and_status_down) {
    with_page([&] {
        const auto place = [&](int id) { return page.GetDlgItem(id)->GetSafeHwnd()->rect(); };
        const ui::rect log = place(IDC_LOG), bar = place(IDC_PROGRESS), status = place(IDC_STATUS);
        page.Stretch(30, 20);
        EXPECT_EQ(place(IDC_LOG), (ui::rect{log.left, log.top, log.right + 30, log.bottom + 20}));
        EXPECT_EQ(place(IDC_PROGRESS),
                  (ui::rect{bar.left, bar.top + 20, bar.right + 30, bar.bottom + 20}));
        EXPECT_EQ(place(IDC_STATUS),
                  (ui::rect{status.left, status.top + 20, status.right + 30, status.bottom + 20}));
    });
}

TEST_F(install_page, progress_shows_whole_percent_and_reaches_100_only_at_the_end) {
    struct progress_case {
        std::uint64_t done, total;
        int shown;
    } const cases[] = {{999'999, 1'000'000, 99},
                       {1'000'000, 1'000'000, 100},
                       {5, 1'000, 1},
                       {4, 1'000, 0},
                       {0, 0, 0}};
    with_page([&] {
        payload_test::test_entry unused;
        std::istringstream payload;
        for (const auto& step : cases) {
            EXPECT_EQ(
                page.HandleNotification(payload, qv::notification::progress{step.done, step.total}),
                qv::notification::result::proceed);
            EXPECT_EQ(progress().position(), step.shown) << step.done << "/" << step.total;
        }
    });
}

TEST_F(install_page, an_update_skips_the_samples_and_a_reinstallation_writes_them) {
    for (auto state :
         {qv::install_state::older_installed, qv::install_state::same_version_installed}) {
        qv_test::temp_machine own_machine;
        os::machine_root();
        qv::install_session run;
        run.install_folder = install_folder;
        run.shortcut_folder = shortcut_folder;
        run.install_state = state;
        use_payload(product_entries());
        qv::CDlgInstall run_page(run);
        qv_test::frame_dialog run_frame(run_page, IDD_INSTALL_PAGE);
        bool result = false;
        ui_session.input.on_first_turn([&](ui::dialog&) { result = run_page.DoInstall(); });
        run_frame.DoModal();
        EXPECT_TRUE(result);
        EXPECT_EQ(content_of(sample_path()),
                  state == qv::install_state::older_installed ? "(missing)" : "sample");
    }
}

TEST_F(install_page, existing_shared_data_is_kept_recorded_with_a_copy_and_opened_to_users) {
    put_file(shared_data, "the users' own data");
    use_payload(product_entries());
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_EQ(content_of(shared_data), "the users' own data");
    EXPECT_NE(security_test::acl_text(*os::host_path(shared_data), security_test::list_kind::access)
                  .find("group:users:rw-"),
              std::string::npos);
    const auto record =
        std::find_if(session.install_log.records.begin(), session.install_log.records.end(),
                     [](const qv::log_record& r) { return r.path == shared_data; });
    ASSERT_NE(record, session.install_log.records.end());
    EXPECT_TRUE(record->done);
    EXPECT_EQ(final_log.find(L"stock.dat"), std::wstring::npos);
}

TEST_F(install_page, shared_data_of_the_earlier_installation_is_left_and_opened_to_users) {
    put_file(shared_data, "installed before");
    session.install_state = qv::install_state::same_version_installed;
    session.install_log.previous_records.push_back(
        {qv::log_record_kind::file, std::wstring(shared_data), L"", true, 3, L""});
    use_payload(product_entries());
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_EQ(content_of(shared_data), "installed before");
    EXPECT_NE(security_test::acl_text(*os::host_path(shared_data), security_test::list_kind::access)
                  .find("group:users:rw-"),
              std::string::npos);
    EXPECT_EQ(final_log.find(L"stock.dat"), std::wstring::npos);
}

TEST_F(install_page, a_failed_extraction_is_undone_and_a_second_run_starts_afresh) {
    auto entries = product_entries();
    entries[1].crc = 0x12345678;
    use_payload(entries);
    std::vector<bool> results;
    std::wstring first_folder;
    with_page([&] {
        results.push_back(page.DoInstall());
        first_folder = session.temporary_folder;
        EXPECT_TRUE(session.install_log.records.empty());
        EXPECT_FALSE(os::path_exists(program));
        EXPECT_EQ(status_text().rfind(L"Installation failed (Error Code ", 0), 0u)
            << os::to_utf8(status_text());
        EXPECT_NE(log_text().find(L"\\Lang\\de.dll\"...Failed\r\n"), std::wstring::npos)
            << os::to_utf8(log_text());
        use_payload(product_entries());
        results.push_back(page.DoInstall());
    });
    EXPECT_EQ(results, (std::vector<bool>{false, true}));
    EXPECT_NE(session.temporary_folder, first_folder);
    EXPECT_EQ(content_of(program), "main program");
    EXPECT_EQ(final_status, L"Click on 'Next' to continue.");
}

TEST_F(install_page, a_payload_that_fails_its_check_writes_nothing) {
    with_page([&] {
        os::set_resource_module(nullptr);
        EXPECT_FALSE(page.DoInstall());
        EXPECT_TRUE(log_text().ends_with(L"Preparing Installation...Failed\r\n"))
            << os::to_utf8(log_text());
        EXPECT_EQ(status_text(), L"Installation failed (Error Code 4).");
    });
    EXPECT_FALSE(os::path_exists(install_folder));
}

TEST_F(install_page, without_a_temporary_folder_nothing_is_installed) {
    // A file where the user's temporary folder belongs.
    const auto temporary = *os::host_path(L"C:\\users\\" + os::user_name() + L"\\AppData\\Local");
    std::filesystem::remove_all(temporary / "Temp");
    qv_test::write_host_file(temporary / "Temp", "");
    use_payload(product_entries());
    EXPECT_EQ(install(), std::vector<bool>{false});
    const std::wregex failure(
        L"Installation failed \\(Error Code [0-9a-f]{8} \\(GetTempPath\\)\\)\\.");
    EXPECT_TRUE(std::regex_match(final_status, failure)) << os::to_utf8(final_status);
    EXPECT_TRUE(final_log.ends_with(L"-\r\n" + final_status + L"\r\n")) << os::to_utf8(final_log);
    EXPECT_FALSE(os::path_exists(install_folder));
    EXPECT_TRUE(session.install_log.records.empty());
}

} // namespace
} // namespace install_test
