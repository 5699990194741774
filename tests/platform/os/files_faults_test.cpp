#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace os = platform::os;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class files_faults : public testing::Test {
protected:
    files_faults() { os::machine_root(); }
    ~files_faults() override { os::fail_file_operation(0, 0); }
    qv_test::temp_machine machine;
};

TEST_F(files_faults, the_chosen_operation_fails_and_changes_nothing) {
    os::fail_file_operation(3, 112);
    EXPECT_FALSE(os::create_directory(L"C:\\ProgramData\\app"));
    EXPECT_TRUE(os::create_file(L"C:\\ProgramData\\app\\one.txt", os::file_access::generic_write,
                                os::file_share::none, os::creation::create_new));
    // Queries are not counted.
    EXPECT_TRUE(os::path_exists(L"C:\\ProgramData\\app\\one.txt"));
    EXPECT_TRUE(os::get_file_attributes(L"C:\\ProgramData\\app\\one.txt"));
    EXPECT_EQ(os::copy_file(L"C:\\ProgramData\\app\\one.txt", L"C:\\ProgramData\\app\\two.txt",
                            os::overwrite::forbid),
              code(win32_error::disk_full));
    EXPECT_FALSE(fs::exists(machine.drive_c("ProgramData/app/two.txt")));
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.drive_c("ProgramData/app")),
                            fs::directory_iterator()),
              1);
    // Only that one fails.
    EXPECT_FALSE(os::copy_file(L"C:\\ProgramData\\app\\one.txt", L"C:\\ProgramData\\app\\two.txt",
                               os::overwrite::forbid));
}

TEST_F(files_faults, counts_from_the_call_and_zero_disables) {
    qv_test::write_host_file(machine.drive_c("ProgramData/x.txt"), "x");
    EXPECT_FALSE(os::set_file_attributes(L"C:\\ProgramData\\x.txt", os::file_attribute::hidden));
    os::fail_file_operation(1, 5);
    EXPECT_EQ(os::delete_file(L"C:\\ProgramData\\x.txt"), code(win32_error::access_denied));
    EXPECT_TRUE(fs::exists(machine.drive_c("ProgramData/x.txt")));
    os::fail_file_operation(1, 5);
    os::fail_file_operation(0, 5);
    EXPECT_FALSE(os::delete_file(L"C:\\ProgramData\\x.txt"));
}

TEST_F(files_faults, a_child_process_takes_the_failure_from_its_environment) {
    qv_test::write_host_file(machine.drive_c("ProgramData/x.txt"), "x");
    // This process has already counted operations; the child counts its own from 1.
    EXPECT_FALSE(os::create_directory(L"C:\\ProgramData\\app"));
    const int outcome = qv_test::run_in_child([] {
        ::setenv("QV_FAIL_FILE_OPERATION", "2:1117", 1);
        if (os::move_file(L"C:\\ProgramData\\x.txt", L"C:\\ProgramData\\y.txt"))
            return 1;
        return static_cast<int>(os::message_id(
                   os::move_file(L"C:\\ProgramData\\y.txt", L"C:\\ProgramData\\z.txt"))) == 1117
                   ? 0
                   : 2;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_TRUE(fs::exists(machine.drive_c("ProgramData/y.txt")));
    EXPECT_FALSE(fs::exists(machine.drive_c("ProgramData/z.txt")));
    EXPECT_FALSE(os::move_file(L"C:\\ProgramData\\y.txt", L"C:\\ProgramData\\z.txt"));
}

} // namespace
