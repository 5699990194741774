#include "platform/os/directories.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace os = platform::os;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class files_directories : public testing::Test {
protected:
    files_directories() { os::machine_root(); }
    qv_test::temp_machine machine;
};

TEST_F(files_directories, create_makes_one_folder_and_reports_what_is_in_the_way) {
    EXPECT_FALSE(os::create_directory(L"C:\\ProgramData\\Vendor"));
    EXPECT_TRUE(fs::is_directory(machine.drive_c("ProgramData/Vendor")));
    EXPECT_EQ(os::create_directory(L"C:\\ProgramData\\VENDOR\\"),
              code(win32_error::already_exists));
    qv_test::write_host_file(machine.drive_c("ProgramData/file"), "");
    EXPECT_EQ(os::create_directory(L"C:\\ProgramData\\file"), code(win32_error::already_exists));
    EXPECT_EQ(os::create_directory(L"C:\\ProgramData\\a\\b"), code(win32_error::path_not_found));
    EXPECT_FALSE(fs::exists(machine.drive_c("ProgramData/a")));
}

TEST_F(files_directories, folder_paths_longer_than_248_characters_are_refused) {
    // C:\ProgramData\ and names of at most 200 characters, to exactly 248 characters in all.
    const std::wstring parent = L"C:\\ProgramData\\" + std::wstring(200, L'p');
    ASSERT_FALSE(os::create_directory(parent));
    const std::wstring longest = parent + L"\\" + std::wstring(248 - parent.size() - 1, L'c');
    ASSERT_EQ(longest.size(), 248u);
    EXPECT_FALSE(os::create_directory(longest));
    EXPECT_EQ(os::create_directory(longest + L"x"), code(win32_error::filename_exced_range));
    EXPECT_EQ(os::create_directory(parent + L"\\" + std::wstring(40, L'z')),
              code(win32_error::filename_exced_range));
}

TEST_F(files_directories, remove_takes_only_empty_folders) {
    fs::create_directories(machine.drive_c("ProgramData/full/inner"));
    EXPECT_EQ(os::remove_directory(L"C:\\ProgramData\\full"), code(win32_error::dir_not_empty));
    EXPECT_FALSE(os::remove_directory(L"C:\\ProgramData\\full\\inner"));
    EXPECT_FALSE(os::remove_directory(L"C:\\ProgramData\\FULL"));
    EXPECT_FALSE(fs::exists(machine.drive_c("ProgramData/full")));

    qv_test::write_host_file(machine.drive_c("ProgramData/file"), "");
    EXPECT_EQ(os::remove_directory(L"C:\\ProgramData\\file"), code(win32_error::directory));
    EXPECT_EQ(os::remove_directory(L"C:\\ProgramData\\gone"), code(win32_error::file_not_found));
    EXPECT_EQ(os::remove_directory(L"C:\\ProgramData\\gone\\x"), code(win32_error::path_not_found));
}

TEST_F(files_directories, removing_a_link_to_a_folder_removes_only_the_link) {
    fs::create_directories(machine.drive_c("ProgramData/real/kept"));
    fs::create_directory_symlink(machine.drive_c("ProgramData/real"),
                                 machine.drive_c("ProgramData/link"));
    EXPECT_FALSE(os::remove_directory(L"C:\\ProgramData\\link"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(machine.drive_c("ProgramData/link"))));
    EXPECT_TRUE(fs::is_directory(machine.drive_c("ProgramData/real/kept")));
}

} // namespace
