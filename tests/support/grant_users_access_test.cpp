#include "support/security.h"

#include "platform/os/directories.h"
#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/host_command.h"
#include "tests/support/security_test_support.h"
#include "tests/support/temp_machine.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using security_test::acl_text;
using security_test::hresult_thrown_by;
using security_test::list_kind;
using security_test::run_as_local_user;

namespace {

constexpr std::uint32_t inherit = qv::ace_flags::object_inherit | qv::ace_flags::container_inherit;

// What another local user does in a shared folder: create a file, change it, rename it, delete
// it, and change and delete a file the installer made. 0 when all of it works, else the step
// that failed.
int create_change_delete(const fs::path& folder, const fs::path& installers_file) {
    const fs::path made = folder / "by-user.txt";
    int file = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (file < 0)
        return 1;
    const bool written = ::write(file, "user", 4) == 4;
    ::close(file);
    if (!written)
        return 2;
    if (::rename(made.c_str(), (folder / "renamed.txt").c_str()) != 0)
        return 3;
    if (::unlink((folder / "renamed.txt").c_str()) != 0)
        return 4;
    if (installers_file.empty())
        return 0;
    file = ::open(installers_file.c_str(), O_WRONLY | O_APPEND);
    if (file < 0)
        return 5;
    const bool appended = ::write(file, "+", 1) == 1;
    ::close(file);
    if (!appended)
        return 6;
    return ::unlink(installers_file.c_str()) == 0 ? 0 : 7;
}

class grant_users_access : public testing::Test {
protected:
    grant_users_access() {
        os::machine_root();
        fs::create_directory(folder_host);
        ::chmod(folder_host.c_str(), 0755);
    }

    qv_test::temp_machine machine;
    const std::wstring folder = L"C:\\ProgramData\\Quorvane";
    const fs::path folder_host = machine.drive_c("ProgramData/Quorvane");
};

TEST_F(grant_users_access, a_shared_folder_gets_the_group_on_its_access_and_default_lists) {
    EXPECT_TRUE(qv::grant_users_access(folder, qv::file_rights::all_access, inherit));
    const std::string expected = "user::rwx\ngroup::r-x\ngroup:users:rwx\nmask::rwx\nother::r-x\n";
    EXPECT_EQ(acl_text(folder_host, list_kind::access), expected);
    EXPECT_EQ(acl_text(folder_host, list_kind::default_list), expected);

    // What the installer makes inside afterwards inherits the entry: files without execute.
    ASSERT_FALSE(os::create_directory(folder + L"\\Varnolis 2"));
    files_test::put_file(folder + L"\\Varnolis 2\\shared.dat", "data");
    EXPECT_EQ(acl_text(folder_host / "Varnolis 2", list_kind::default_list), expected);
    EXPECT_EQ(acl_text(folder_host / "Varnolis 2/shared.dat", list_kind::access),
              "user::rw-\ngroup::r-x\t#effective:r--\ngroup:users:rwx\t#effective:rw-\n"
              "mask::rw-\nother::r--\n");
}

TEST_F(grant_users_access, a_shared_file_gets_the_group_on_its_access_list_only) {
    const fs::path file_host = folder_host / "shared.dat";
    qv_test::write_host_file(file_host, "data");
    ::chmod(file_host.c_str(), 0644);
    for (std::uint32_t flags : {qv::ace_flags::none, inherit}) {
        EXPECT_TRUE(qv::grant_users_access(folder + L"\\SHARED.dat",
                                           qv::file_rights::read_write_delete, flags));
        EXPECT_EQ(acl_text(file_host, list_kind::access),
                  "user::rw-\ngroup::r--\ngroup:users:rw-\nmask::rw-\nother::r--\n");
    }
}

TEST_F(grant_users_access, replaces_the_groups_entry_and_keeps_the_others) {
    ASSERT_EQ(qv_test::run_host_command({"setfacl", "-m", "g:users:--x,u:nobody:r-x", "-m",
                                         "d:u::rwx,d:g::---,d:o::---,d:g:users:r--", "-m",
                                         "d:u:nobody:rwx", folder_host.string()}),
              0);
    EXPECT_TRUE(qv::grant_users_access(folder, qv::file_rights::generic_read, inherit));
    EXPECT_EQ(acl_text(folder_host, list_kind::access),
              "user::rwx\nuser:nobody:r-x\ngroup::r-x\ngroup:users:r-x\nmask::r-x\nother::r-x\n");
    EXPECT_EQ(acl_text(folder_host, list_kind::default_list),
              "user::rwx\nuser:nobody:rwx\ngroup::---\ngroup:users:r-x\nmask::rwx\nother::---\n");
}

TEST_F(grant_users_access, another_local_user_can_create_change_and_delete_in_a_shared_folder) {
    ASSERT_NE(run_as_local_user([&] { return create_change_delete(folder_host, {}); }), 0)
        << "the folder is closed to other users before the grant";
    ASSERT_TRUE(qv::grant_users_access(folder, qv::file_rights::all_access, inherit));

    ASSERT_FALSE(os::create_directory(folder + L"\\Varnolis 2"));
    files_test::put_file(folder + L"\\installer.dat", "data");
    files_test::put_file(folder + L"\\Varnolis 2\\installer.dat", "data");
    EXPECT_EQ(run_as_local_user(
                  [&] { return create_change_delete(folder_host, folder_host / "installer.dat"); }),
              0);
    EXPECT_EQ(run_as_local_user([&] {
                  return create_change_delete(folder_host / "Varnolis 2",
                                              folder_host / "Varnolis 2/installer.dat");
              }),
              0);
}

TEST_F(grant_users_access, a_planted_symbolic_link_is_neither_followed_nor_granted) {
    // Only the administrator may change these; the links to them are another user's.
    const fs::path outside = machine.drive_c("windows/outside");
    fs::create_directories(outside / "Sub");
    qv_test::write_host_file(outside / "file.txt", "x");
    const std::string folder_list = acl_text(outside, list_kind::access);
    const std::string file_list = acl_text(outside / "file.txt", list_kind::access);
    ASSERT_EQ(run_as_local_user([&] {
                  const fs::path program_data = machine.drive_c("ProgramData");
                  return ::symlink(outside.c_str(), (program_data / "to-folder").c_str()) == 0 &&
                                 ::symlink((outside / "file.txt").c_str(),
                                           (program_data / "to-file").c_str()) == 0
                             ? 0
                             : 1;
              }),
              0);

    for (const wchar_t* planted : {L"C:\\ProgramData\\to-folder", L"C:\\ProgramData\\to-file",
                                   L"C:\\ProgramData\\to-folder\\Sub"}) {
        EXPECT_EQ(hresult_thrown_by([&] {
                      qv::grant_users_access(planted, qv::file_rights::all_access, inherit);
                  }),
                  os::hresults::e_accessdenied)
            << os::to_utf8(planted);
    }
    EXPECT_EQ(acl_text(outside, list_kind::access), folder_list);
    EXPECT_EQ(acl_text(outside, list_kind::default_list), "");
    EXPECT_EQ(acl_text(outside / "Sub", list_kind::default_list), "");
    EXPECT_EQ(acl_text(outside / "file.txt", list_kind::access), file_list);
    EXPECT_TRUE(fs::is_symlink(machine.drive_c("ProgramData/to-folder")));
}

TEST_F(grant_users_access, failures_throw_their_hresult_and_change_nothing) {
    const std::string before = acl_text(folder_host, list_kind::access);
    const std::pair<std::uint32_t, std::wstring> missing[] = {
        {os::hresult_from_win32(2), folder + L"\\Missing"},
        {os::hresult_from_win32(3), L"C:\\Missing\\Folder"},
        {os::hresult_from_win32(3), L"Q:\\Folder"},
    };
    for (const auto& [expected, path] : missing) {
        EXPECT_EQ(static_cast<std::uint32_t>(hresult_thrown_by(
                      [&] { qv::grant_users_access(path, qv::file_rights::all_access, inherit); })),
                  expected)
            << os::to_utf8(path);
    }
    // Object inherit alone would reach subfolders too.
    EXPECT_EQ(hresult_thrown_by([&] {
                  qv::grant_users_access(folder, qv::file_rights::all_access,
                                         qv::ace_flags::object_inherit);
              }),
              os::hresults::e_invalidarg);
    EXPECT_EQ(acl_text(folder_host, list_kind::access), before);
    EXPECT_EQ(acl_text(folder_host, list_kind::default_list), "");
}

} // namespace
