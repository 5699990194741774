#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace os = platform::os;
namespace attr = os::file_attribute;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

// A link in a folder every user may write, leading to a file only the administrator may change.
class files_links : public testing::Test {
protected:
    files_links() {
        os::machine_root();
        qv_test::write_host_file(target, "original");
        EXPECT_FALSE(os::set_file_attributes(L"C:\\windows\\target.txt", attr::hidden));
        fs::create_symlink(target, link_host);
    }

    void expect_target_untouched() const {
        EXPECT_EQ(qv_test::read_host_file(target), "original");
        EXPECT_EQ(*os::get_file_attributes(L"C:\\windows\\target.txt"), attr::hidden);
        struct stat status {};
        ::stat(target.c_str(), &status);
        EXPECT_EQ(status.st_mode & 0777, 0644u);
    }

    qv_test::temp_machine machine;
    const fs::path target = machine.drive_c("windows/target.txt");
    const std::wstring link = L"C:\\ProgramData\\link.txt";
    const fs::path link_host = machine.drive_c("ProgramData/link.txt");
};

TEST_F(files_links, refused_links_are_not_opened_for_writing) {
    for (auto how : {os::creation::open_existing, os::creation::open_always,
                     os::creation::create_always, os::creation::truncate_existing}) {
        auto opened = os::create_file(link, os::file_access::generic_write, os::file_share::none,
                                      how, attr::normal, os::symlinks::refuse);
        EXPECT_EQ(opened.error(), code(win32_error::access_denied))
            << "disposition " << static_cast<int>(how);
    }
    EXPECT_EQ(os::create_file(link, os::file_access::generic_write, os::file_share::none,
                              os::creation::create_new, attr::normal, os::symlinks::refuse)
                  .error(),
              code(win32_error::file_exists));
    expect_target_untouched();
}

TEST_F(files_links, a_refused_link_to_nothing_creates_nothing) {
    const fs::path planted = machine.drive_c("windows/planted.txt");
    fs::create_symlink(planted, machine.drive_c("ProgramData/dangling.txt"));
    EXPECT_EQ(os::create_file(L"C:\\ProgramData\\dangling.txt", os::file_access::generic_write,
                              os::file_share::none, os::creation::create_always, attr::normal,
                              os::symlinks::refuse)
                  .error(),
              code(win32_error::access_denied));
    EXPECT_FALSE(fs::exists(planted));
    // Followed, the same open makes the target.
    EXPECT_TRUE(os::create_file(L"C:\\ProgramData\\dangling.txt", os::file_access::generic_write,
                                os::file_share::none, os::creation::create_always));
    EXPECT_TRUE(fs::exists(planted));
}

TEST_F(files_links, refused_links_report_themselves_and_are_not_changed) {
    EXPECT_EQ(*os::get_file_attributes(link, os::symlinks::refuse),
              attr::reparse_point | attr::archive);
    EXPECT_EQ(*os::get_file_attributes(link), attr::hidden);
    EXPECT_EQ(os::set_file_attributes(link, attr::readonly | attr::system, os::symlinks::refuse),
              code(win32_error::access_denied));
    expect_target_untouched();
}

TEST_F(files_links, followed_links_reach_the_target) {
    auto opened = os::create_file(link, os::file_access::generic_write, os::file_share::none,
                                  os::creation::truncate_existing);
    ASSERT_TRUE(opened);
    ASSERT_FALSE(opened->write(files_test::bytes_of("changed")));
    EXPECT_EQ(qv_test::read_host_file(target), "changed");
    ASSERT_FALSE(os::set_file_attributes(link, attr::system));
    EXPECT_EQ(*os::get_file_attributes(L"C:\\windows\\target.txt"), attr::system);
}

TEST_F(files_links, deleting_a_link_leaves_its_target) {
    EXPECT_FALSE(os::delete_file(link));
    EXPECT_FALSE(fs::is_symlink(link_host));
    expect_target_untouched();
}

} // namespace
