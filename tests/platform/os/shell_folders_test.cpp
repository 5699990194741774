#include "platform/os/shell_folders.h"

#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

constexpr wchar_t user_shell_folders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void redirect(os::predefined_key root, const wchar_t* name, std::wstring_view location) {
    auto key = os::create_key(root, user_shell_folders, os::key_access::all_access);
    ASSERT_TRUE(key) << key.error().message();
    ASSERT_FALSE(os::set_string_value(key->key, name, location, os::value_type::expand_sz));
}

TEST(shell_folders, every_folder_is_at_its_windows_location) {
    qv_test::temp_machine machine;
    const std::wstring profile = L"C:\\users\\" + os::user_name();
    const std::pair<int, std::wstring> cases[] = {
        {os::csidl::programs,
         profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs"},
        {os::csidl::personal, profile + L"\\Documents"},
        {os::csidl::start_menu, profile + L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu"},
        {os::csidl::desktop_directory, profile + L"\\Desktop"},
        {os::csidl::common_start_menu, L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
        {os::csidl::common_programs, L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
        {os::csidl::common_desktop_directory, L"C:\\users\\Public\\Desktop"},
        {os::csidl::appdata, profile + L"\\AppData\\Roaming"},
        {os::csidl::common_appdata, L"C:\\ProgramData"},
        {os::csidl::windows, L"C:\\windows"},
        {os::csidl::system, L"C:\\windows\\system32"},
        {os::csidl::program_files, L"C:\\Program Files"},
        {os::csidl::program_files_common, L"C:\\Program Files\\Common Files"},
        {os::csidl::common_documents, L"C:\\users\\Public\\Documents"},
    };
    for (const auto& [csidl, expected] : cases) {
        std::wstring path;
        EXPECT_EQ(os::get_folder_path(csidl, path), os::hresults::s_ok) << csidl;
        EXPECT_EQ(path, expected) << csidl;
        auto host = os::host_path(path);
        ASSERT_TRUE(host);
        EXPECT_TRUE(fs::is_directory(*host)) << csidl;
    }
    EXPECT_EQ(os::documents_known_folder(), profile + L"\\Documents");
}

TEST(shell_folders, unknown_folder_is_an_invalid_argument) {
    qv_test::temp_machine machine;
    std::wstring path = L"left over";
    EXPECT_EQ(os::get_folder_path(0x3F, path), os::hresults::e_invalidarg);
    EXPECT_TRUE(path.empty());
}

TEST(shell_folders, redirection_expands_variables_and_creation_is_on_request) {
    qv_test::temp_machine machine;
    redirect(os::predefined_key::current_user, L"Desktop", L"%USERPROFILE%\\Moved\\Desk");
    std::wstring path = L"left over";
    EXPECT_EQ(os::get_folder_path(os::csidl::desktop_directory, path), os::hresult_from_win32(2));
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(os::get_special_folder_path(os::csidl::desktop_directory, path));

    EXPECT_TRUE(os::get_special_folder_path(os::csidl::desktop_directory, path,
                                            os::folder_creation::create));
    EXPECT_EQ(path, L"C:\\users\\" + os::user_name() + L"\\Moved\\Desk");
    EXPECT_TRUE(
        fs::is_directory(machine.drive_c("users/" + os::to_utf8(os::user_name()) + "/Moved/Desk")));
    EXPECT_EQ(os::get_folder_path(os::csidl::desktop_directory, path), os::hresults::s_ok);
}

TEST(shell_folders, common_folders_are_redirected_by_the_machine_values) {
    qv_test::temp_machine machine;
    os::machine_root();
    fs::create_directories(machine.drive_c("Shared Data"));
    redirect(os::predefined_key::local_machine, L"Common AppData", L"C:\\Shared Data");
    // The user's values do not move the common folders.
    redirect(os::predefined_key::current_user, L"Common AppData", L"C:\\windows");
    std::wstring path;
    EXPECT_EQ(os::get_folder_path(os::csidl::common_appdata, path), os::hresults::s_ok);
    EXPECT_EQ(path, L"C:\\Shared Data");
}

TEST(shell_folders, an_empty_value_makes_the_folder_unavailable) {
    qv_test::temp_machine machine;
    redirect(os::predefined_key::local_machine, L"Common Desktop", L"");
    std::wstring path = L"left over";
    EXPECT_EQ(os::get_folder_path(os::csidl::common_desktop_directory, path), os::hresults::e_fail);
    EXPECT_TRUE(path.empty());
    EXPECT_FALSE(os::get_special_folder_path(os::csidl::common_desktop_directory, path,
                                             os::folder_creation::create));
    // The user's own desktop is still there.
    EXPECT_TRUE(os::get_special_folder_path(os::csidl::desktop_directory, path));
}

} // namespace
