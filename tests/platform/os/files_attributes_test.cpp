#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace os = platform::os;
namespace attr = os::file_attribute;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class files_attributes : public testing::Test {
protected:
    files_attributes() {
        ::umask(022);
        os::machine_root();
        qv_test::write_host_file(host, "data");
    }

    std::string stored_text() const {
        char text[64];
        const ssize_t length = ::getxattr(host.c_str(), "user.DOSATTRIB", text, sizeof text);
        return length < 0 ? "<none>" : std::string(text, static_cast<std::size_t>(length));
    }
    mode_t mode_of(const fs::path& path) const {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return status.st_mode & 07777;
    }

    qv_test::temp_machine machine;
    const std::wstring file = L"C:\\ProgramData\\file.txt";
    const fs::path host = machine.drive_c("ProgramData/file.txt");
};

TEST_F(files_attributes, untouched_entries_report_archive_or_directory) {
    EXPECT_EQ(*os::get_file_attributes(file), attr::archive);
    EXPECT_EQ(*os::get_file_attributes(L"C:\\ProgramData"), attr::directory);
    EXPECT_EQ(*os::get_file_attributes(L"C:\\"), attr::directory);
    EXPECT_EQ(os::get_file_attributes(L"C:\\ProgramData\\none.txt").error(),
              code(win32_error::file_not_found));
    EXPECT_EQ(os::get_file_attributes(L"C:\\ProgramData\\none\\x.txt").error(),
              code(win32_error::path_not_found));
    EXPECT_EQ(os::set_file_attributes(L"C:\\ProgramData\\none.txt", attr::hidden),
              code(win32_error::file_not_found));
}

struct attribute_case {
    std::uint32_t set;
    std::uint32_t reported;
    const char* stored;
    mode_t mode;
};

TEST_F(files_attributes, set_bits_come_back_and_are_kept_where_windows_software_looks) {
    const attribute_case cases[] = {
        {attr::hidden, attr::hidden, "0x2", 0644},
        {attr::hidden | attr::system | attr::archive, attr::hidden | attr::system | attr::archive,
         "0x26", 0644},
        {attr::not_content_indexed, attr::not_content_indexed, "0x2000", 0644},
        {attr::readonly, attr::readonly, "0x0", 0444},
        {attr::readonly | attr::hidden, attr::readonly | attr::hidden, "0x2", 0444},
        {attr::normal, attr::normal, "0x0", 0644},
        {0, attr::normal, "0x0", 0644},
        // normal means nothing beside other bits; directory and unknown bits are ignored.
        {attr::archive | attr::normal, attr::archive, "0x20", 0644},
        {attr::directory | attr::hidden | 0x40000, attr::hidden, "0x2", 0644},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "set 0x" << std::hex << c.set);
        ASSERT_FALSE(os::set_file_attributes(file, c.set));
        EXPECT_EQ(*os::get_file_attributes(file), c.reported);
        EXPECT_EQ(stored_text(), c.stored);
        EXPECT_EQ(mode_of(host), c.mode);
    }
}

TEST_F(files_attributes, bits_written_by_other_software_are_read) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {std::string("0x2\0", 4), attr::hidden},
        {"0x26", attr::hidden | attr::system | attr::archive},
        // Read-only of a file is its write permission, whatever the text says.
        {"0x21", attr::archive},
        {"garbage", attr::archive},
    };
    for (const auto& [text, reported] : cases) {
        ASSERT_EQ(::setxattr(host.c_str(), "user.DOSATTRIB", text.data(), text.size(), 0), 0);
        EXPECT_EQ(*os::get_file_attributes(file), reported) << text;
    }
}

TEST_F(files_attributes, read_only_clears_write_permission_and_gives_it_back) {
    const std::pair<mode_t, mode_t> cases[] = {
        {0644, 0444},
        {0600, 0400},
        {0664, 0444},
        {0755, 0555},
    };
    for (const auto& [before, read_only] : cases) {
        ASSERT_EQ(::chmod(host.c_str(), before), 0);
        ASSERT_FALSE(os::set_file_attributes(file, attr::readonly));
        EXPECT_EQ(mode_of(host), read_only);
        ASSERT_FALSE(os::set_file_attributes(file, attr::archive));
        // Group and others get write permission back only as the umask (022) allows.
        EXPECT_EQ(mode_of(host), before & ~mode_t{020}) << std::oct << before;
    }
    // A file made read-only on the host reports it too.
    ASSERT_EQ(::chmod(host.c_str(), 0444), 0);
    EXPECT_EQ(*os::get_file_attributes(file), attr::readonly | attr::archive);
}

TEST_F(files_attributes, read_only_of_a_folder_is_only_an_attribute) {
    const std::wstring folder = L"C:\\ProgramData\\folder";
    const fs::path host_folder = machine.drive_c("ProgramData/folder");
    fs::create_directory(host_folder);
    ASSERT_FALSE(os::set_file_attributes(folder, attr::readonly | attr::hidden));
    EXPECT_EQ(*os::get_file_attributes(folder), attr::directory | attr::readonly | attr::hidden);
    EXPECT_EQ(mode_of(host_folder), 0755);
    files_test::put_file(folder + L"\\inside.txt", "still writable");
    ASSERT_FALSE(os::set_file_attributes(folder, attr::normal));
    EXPECT_EQ(*os::get_file_attributes(folder), attr::directory);
}

TEST_F(files_attributes, new_files_get_archive_and_the_attributes_asked_for) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {attr::normal, attr::archive},
        {attr::hidden | attr::system, attr::hidden | attr::system | attr::archive},
        {attr::readonly | attr::not_content_indexed,
         attr::readonly | attr::not_content_indexed | attr::archive},
    };
    for (const auto& [asked, reported] : cases) {
        fs::remove(host);
        auto made = os::create_file(file, os::file_access::generic_write, os::file_share::none,
                                    os::creation::create_new, asked);
        ASSERT_TRUE(made);
        // The handle that made a read-only file may still write it.
        EXPECT_FALSE(made->write(files_test::bytes_of("written")));
        made = os::file_handle();
        EXPECT_EQ(*os::get_file_attributes(file), reported);
        EXPECT_EQ(qv_test::read_host_file(host), "written");
    }
}

TEST_F(files_attributes, the_owner_of_a_read_only_file_may_change_its_attributes) {
    const std::wstring own = L"C:\\ProgramData\\own.txt";
    const fs::path own_host = machine.drive_c("ProgramData/own.txt");
    const int outcome = qv_test::run_in_child(
        [&] {
            files_test::put_file(own, "mine");
            if (os::set_file_attributes(own, attr::readonly))
                return 1;
            if (os::set_file_attributes(own, attr::readonly | attr::hidden))
                return 2;
            if (*os::get_file_attributes(own) != (attr::readonly | attr::hidden))
                return 3;
            if (os::set_file_attributes(own, attr::normal))
                return 4;
            return *os::get_file_attributes(own) == attr::normal ? 0 : 5;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(mode_of(own_host), 0644);
}

TEST_F(files_attributes, without_extended_attributes_only_read_only_is_kept) {
    fs::create_directory(machine.drive_c("ProgramData/plain"));
    const std::wstring plain = L"C:\\ProgramData\\plain\\file.txt";
    const std::string mount_point = machine.drive_c("ProgramData/plain").string();
    // A file system without user extended attributes, mounted in a namespace of the child's own.
    const int outcome = qv_test::run_in_child([&] {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("none", mount_point.c_str(), "ramfs", 0, nullptr) != 0)
            return 77;
        files_test::put_file(plain, "x");
        if (os::set_file_attributes(plain, attr::hidden | attr::system))
            return 1;
        if (*os::get_file_attributes(plain) != attr::archive)
            return 2;
        if (os::set_file_attributes(plain, attr::readonly | attr::hidden))
            return 3;
        return *os::get_file_attributes(plain) == (attr::readonly | attr::archive) ? 0 : 4;
    });
    if (outcome == 77)
        GTEST_SKIP() << "no mount namespace for a file system without extended attributes";
    EXPECT_EQ(outcome, 0);
}

} // namespace
