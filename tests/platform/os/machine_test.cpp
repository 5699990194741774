#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

TEST(machine, default_root_follows_xdg_data_home_then_home) {
    ::unsetenv("QV_MACHINE");
    ::setenv("XDG_DATA_HOME", "/data/x", 1);
    EXPECT_EQ(os::configured_machine_root(), fs::path("/data/x/qv-machine"));
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(os::configured_machine_root(), fs::path("/home/someone/.local/share/qv-machine"));
    ::setenv("QV_MACHINE", "/elsewhere", 1);
    EXPECT_EQ(os::configured_machine_root(), fs::path("/elsewhere"));
}

TEST(machine, layout_is_made_on_first_use) {
    qv_test::temp_machine machine;
    const fs::path root = os::machine_root();
    EXPECT_EQ(root, machine.root());
    for (const char* folder :
         {"Program Files", "Program Files/Common Files", "ProgramData",
          "ProgramData/Microsoft/Windows/Start Menu/Programs", "users/Public/Desktop",
          "users/Public/Documents", "windows/system32"})
        EXPECT_TRUE(fs::is_directory(machine.drive_c(folder))) << folder;
    const std::string me = "users/" + platform::os::to_utf8(os::user_name());
    for (const char* folder : {"Desktop", "Documents", "AppData/Local/Temp",
                               "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"})
        EXPECT_TRUE(fs::is_directory(machine.drive_c(me + "/" + folder))) << folder;
    EXPECT_EQ(fs::read_symlink(root / "dosdevices" / "c:"), fs::path("../drive_c"));
    // HKEY_LOCAL_MACHINE starts with the key of installed programs, as on Windows.
    const std::string system_reg = qv_test::read_host_file(root / "system.reg");
    EXPECT_TRUE(system_reg.starts_with(
        "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n"
        "#arch=win64\n\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall] "))
        << system_reg;
    EXPECT_TRUE(os::open_key(os::predefined_key::local_machine,
                             L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                             os::key_access::read));
    EXPECT_EQ(qv_test::read_host_file(root / "user.reg"),
              "WINE REGISTRY Version 2\n;; All keys relative to "
              "REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n#arch=win64\n");
}

TEST(machine, layout_creation_is_idempotent_and_keeps_existing_content) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::write_host_file(machine.root() / "system.reg", "WINE REGISTRY Version 2\n#kept\n");
    // A second process prepares the same root again.
    EXPECT_EQ(qv_test::run_in_child([] {
                  os::machine_root();
                  return 0;
              }),
              0);
    EXPECT_EQ(qv_test::read_host_file(machine.root() / "system.reg"),
              "WINE REGISTRY Version 2\n#kept\n");
}

TEST(machine, processes_starting_together_make_one_layout) {
    qv_test::temp_machine machine;
    std::vector<std::unique_ptr<qv_test::background_child>> children;
    for (int i = 0; i < 8; ++i)
        children.push_back(std::make_unique<qv_test::background_child>([] {
            os::machine_root();
            return os::host_path(L"C:\\Program Files").has_value() ? 0 : 1;
        }));
    for (auto& child : children)
        EXPECT_EQ(child->join(), 0);
    EXPECT_EQ(qv_test::read_host_file(machine.root() / "user.reg").substr(0, 23),
              "WINE REGISTRY Version 2");
    // No temporary file of the creators is left behind.
    for (const auto& entry : fs::directory_iterator(machine.root()))
        EXPECT_EQ(entry.path().filename().string().find(".new."), std::string::npos);
}

TEST(machine, a_folder_that_cannot_be_made_is_named_in_the_error) {
    qv_test::temp_machine machine;
    qv_test::write_host_file(machine.root().parent_path() / "file", "x");
    ::setenv("QV_MACHINE", (machine.root().parent_path() / "file" / "machine").c_str(), 1);
    try {
        os::machine_root();
        FAIL() << "expected machine_error";
    } catch (const os::machine_error& error) {
        EXPECT_NE(std::string(error.what()).find("file/machine"), std::string::npos)
            << error.what();
    }
}

TEST(host_path, maps_drives_and_matches_existing_components_without_case) {
    qv_test::temp_machine machine;
    const fs::path root = os::machine_root();
    auto host = os::host_path(L"c:\\PROGRAM FILES\\common files\\New Folder\\x.txt");
    ASSERT_TRUE(host) << host.error().message();
    EXPECT_EQ(*host, root / "dosdevices" / "c:" / "Program Files" / "Common Files" / "New Folder" /
                         "x.txt");
    auto forward = os::host_path(L"C:/windows/SYSTEM32");
    ASSERT_TRUE(forward);
    EXPECT_EQ(*forward, root / "dosdevices" / "c:" / "windows" / "system32");
}

TEST(host_path, failures_carry_windows_codes) {
    qv_test::temp_machine machine;
    os::machine_root();
    const std::pair<std::wstring, os::win32_error> cases[] = {
        {L"Q:\\x", os::win32_error::path_not_found},
        {L"\\\\server\\share\\x", os::win32_error::bad_netpath},
        {L"C:\\a*b", os::win32_error::invalid_name},
        {L"C:\\a?b", os::win32_error::invalid_name},
        {L"C:\\a|b", os::win32_error::invalid_name},
        {L"C:\\" + std::wstring(257, L'a'), os::win32_error::filename_exced_range},
    };
    for (const auto& [path, code] : cases) {
        auto host = os::host_path(path);
        EXPECT_FALSE(host) << platform::os::to_utf8(path);
        EXPECT_EQ(host.error(), code) << platform::os::to_utf8(path);
    }
    // 259 characters still fit.
    EXPECT_TRUE(os::host_path(L"C:\\" + std::wstring(255, L'a') + L"b"));
}

TEST(host_path, windows_names_of_host_paths_round_trip) {
    qv_test::temp_machine machine;
    const fs::path root = os::machine_root();
    EXPECT_EQ(os::windows_path_of_host(root / "drive_c" / "Program Files"), L"C:\\Program Files");
    EXPECT_EQ(os::windows_path_of_host("/usr/bin"), L"Z:\\usr\\bin");
    auto back = os::host_path(*os::windows_path_of_host("/usr/bin"));
    ASSERT_TRUE(back);
    EXPECT_TRUE(fs::equivalent(*back, "/usr/bin"));
}

TEST(current_directory, starts_at_the_host_working_folder_and_can_change) {
    qv_test::temp_machine machine;
    const fs::path root = os::machine_root();
    ASSERT_EQ(::chdir((root / "drive_c" / "windows").c_str()), 0);
    EXPECT_EQ(os::current_directory(), L"C:\\windows");
    EXPECT_FALSE(os::set_current_directory(L"system32"));
    EXPECT_EQ(os::current_directory(), L"C:\\windows\\system32");
    EXPECT_EQ(os::full_path_name(L"..\\x"), L"C:\\windows\\x");
    EXPECT_EQ(os::set_current_directory(L"C:\\missing"), os::win32_error::file_not_found);
    EXPECT_EQ(os::current_directory(), L"C:\\windows\\system32");
}

TEST(administrator, root_or_the_owner_of_the_machine_folder) {
    qv_test::temp_machine machine;
    os::machine_root();
    EXPECT_TRUE(os::is_administrator());
    if (::geteuid() != 0)
        GTEST_SKIP() << "switching users needs root";
    const uid_t other = qv_test::unprivileged_user();
    EXPECT_EQ(qv_test::run_in_child([] { return os::is_administrator() ? 1 : 0; }, other), 0);
    ASSERT_EQ(::chown(machine.root().c_str(), other, static_cast<gid_t>(-1)), 0);
    EXPECT_EQ(qv_test::run_in_child([] { return os::is_administrator() ? 0 : 1; }, other), 0);
}

TEST(machine, user_name_is_the_effective_login) {
    if (::geteuid() == 0) {
        EXPECT_EQ(os::user_name(), L"root");
    }
    EXPECT_FALSE(os::user_name().empty());
}

} // namespace
