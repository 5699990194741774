// The grant on a file system without access lists (ramfs), mounted for the test in a private
// mount namespace so that nothing outlives the test process.

#include "support/security.h"

#include "platform/os/machine.h"

#include "tests/support/security_test_support.h"
#include "tests/support/temp_machine.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using security_test::run_as_local_user;

namespace {

class private_ramfs {
public:
    explicit private_ramfs(fs::path where) : where_(std::move(where)) {
        if (::unshare(CLONE_NEWNS) != 0)
            reason_ = std::string("unshare: ") + std::strerror(errno);
        else if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            reason_ = std::string("private mounts: ") + std::strerror(errno);
        else if (::mount("qv-ramfs", where_.c_str(), "ramfs", 0, "mode=0755") != 0)
            reason_ = std::string("ramfs: ") + std::strerror(errno);
    }
    ~private_ramfs() {
        if (reason_.empty())
            ::umount2(where_.c_str(), MNT_DETACH);
    }
    private_ramfs(const private_ramfs&) = delete;
    private_ramfs& operator=(const private_ramfs&) = delete;

    // Empty when mounted.
    const std::string& reason() const { return reason_; }

private:
    fs::path where_;
    std::string reason_;
};

struct stat status_of(const fs::path& object) {
    struct stat status {};
    EXPECT_EQ(::stat(object.c_str(), &status), 0) << object;
    return status;
}

// Another local user creates, renames and deletes a file in folder; 0 when all of it works.
int create_rename_delete(const fs::path& folder) {
    const int file = ::open((folder / "by-user.txt").c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0)
        return 1;
    ::close(file);
    if (::rename((folder / "by-user.txt").c_str(), (folder / "renamed.txt").c_str()) != 0)
        return 2;
    return ::unlink((folder / "renamed.txt").c_str()) == 0 ? 0 : 3;
}

int append_to(const fs::path& file) {
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_APPEND);
    if (descriptor < 0)
        return 1;
    const bool appended = ::write(descriptor, "+", 1) == 1;
    ::close(descriptor);
    return appended ? 0 : 2;
}

// The folder, made in the machine's layout before anything is mounted on it.
fs::path made_folder(fs::path folder) {
    os::machine_root();
    fs::create_directory(folder);
    return folder;
}

class grant_without_access_lists : public testing::Test {
protected:
    qv_test::temp_machine machine;
    const fs::path folder_host = made_folder(machine.drive_c("ProgramData/Quorvane"));
    // Declared after the machine, so that it is unmounted before the machine is removed.
    private_ramfs ramfs{folder_host};
    const gid_t users = ::getgrnam("users")->gr_gid;
};

TEST_F(grant_without_access_lists, a_shared_folder_is_handed_to_the_group) {
    if (!ramfs.reason().empty())
        GTEST_SKIP() << "no file system without access lists: " << ramfs.reason();
    ASSERT_NE(run_as_local_user([&] { return create_rename_delete(folder_host); }), 0);

    EXPECT_TRUE(
        qv::grant_users_access(L"C:\\ProgramData\\Quorvane", qv::file_rights::all_access,
                               qv::ace_flags::object_inherit | qv::ace_flags::container_inherit));
    const struct stat status = status_of(folder_host);
    EXPECT_EQ(status.st_gid, users);
    EXPECT_EQ(status.st_mode & 07777, 02775u);
    EXPECT_EQ(run_as_local_user([&] { return create_rename_delete(folder_host); }), 0);
    // What is made inside belongs to the group too.
    fs::create_directory(folder_host / "Sub");
    EXPECT_EQ(status_of(folder_host / "Sub").st_gid, users);
}

TEST_F(grant_without_access_lists, a_shared_file_is_handed_to_the_group) {
    if (!ramfs.reason().empty())
        GTEST_SKIP() << "no file system without access lists: " << ramfs.reason();
    const fs::path file = folder_host / "shared.dat";
    qv_test::write_host_file(file, "data");
    ::chmod(file.c_str(), 0644);
    ASSERT_NE(run_as_local_user([&] { return append_to(file); }), 0);

    EXPECT_TRUE(qv::grant_users_access(L"C:\\ProgramData\\Quorvane\\shared.dat",
                                       qv::file_rights::read_write_delete, qv::ace_flags::none));
    const struct stat status = status_of(file);
    EXPECT_EQ(status.st_gid, users);
    EXPECT_EQ(status.st_mode & 07777, 0664u);
    EXPECT_EQ(run_as_local_user([&] { return append_to(file); }), 0);
}

} // namespace
