#include "platform/os/file_attributes.h"
#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/temp_machine.h"

#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace os = platform::os;
namespace attr = os::file_attribute;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class files_moves : public testing::Test {
protected:
    files_moves() {
        os::machine_root();
        fs::create_directory(machine.drive_c("work"));
        qv_test::write_host_file(host("a.txt"), "alpha");
        qv_test::write_host_file(host("b.txt"), "beta");
    }

    static std::wstring path(const wchar_t* name) { return std::wstring(L"C:\\work\\") + name; }
    fs::path host(const char* name) const { return machine.drive_c("work") / name; }

    // Entries of the folder, so that leftovers of a failed copy would show.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(machine.drive_c("work")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    qv_test::temp_machine machine;
};

TEST_F(files_moves, move_renames_files_and_folders_but_never_replaces) {
    EXPECT_FALSE(os::move_file(path(L"a.txt"), path(L"c.txt")));
    EXPECT_EQ(qv_test::read_host_file(host("c.txt")), "alpha");
    EXPECT_FALSE(fs::exists(host("a.txt")));

    EXPECT_EQ(os::move_file(path(L"c.txt"), path(L"B.TXT")), code(win32_error::already_exists));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "beta");
    EXPECT_EQ(qv_test::read_host_file(host("c.txt")), "alpha");

    fs::create_directories(host("folder/inner"));
    qv_test::write_host_file(host("folder/inner/x.txt"), "x");
    EXPECT_FALSE(os::move_file(path(L"folder"), path(L"renamed")));
    EXPECT_EQ(qv_test::read_host_file(host("renamed/inner/x.txt")), "x");
    EXPECT_EQ(os::move_file(path(L"renamed"), path(L"b.txt")), code(win32_error::already_exists));
}

TEST_F(files_moves, moves_report_missing_source_and_destination_folder) {
    EXPECT_EQ(os::move_file(path(L"none.txt"), path(L"x.txt")), code(win32_error::file_not_found));
    EXPECT_EQ(os::move_file(path(L"none\\a.txt"), path(L"x.txt")),
              code(win32_error::path_not_found));
    EXPECT_EQ(os::move_file(path(L"a.txt"), path(L"none\\a.txt")),
              code(win32_error::path_not_found));
    EXPECT_EQ(os::move_file_replace(path(L"a.txt"), path(L"none\\a.txt")),
              code(win32_error::path_not_found));
    EXPECT_TRUE(fs::exists(host("a.txt")));
}

TEST_F(files_moves, a_change_of_case_renames_to_the_new_spelling) {
    EXPECT_FALSE(os::move_file(path(L"a.txt"), path(L"A.Txt")));
    EXPECT_EQ(entries(), (std::vector<std::string>{"A.Txt", "b.txt"}));
    EXPECT_FALSE(os::move_file(path(L"A.Txt"), path(L"A.Txt")));
    EXPECT_EQ(qv_test::read_host_file(host("A.Txt")), "alpha");
}

TEST_F(files_moves, replacing_moves_overwrite_files_unless_read_only) {
    EXPECT_FALSE(os::move_file_replace(path(L"a.txt"), path(L"b.txt")));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "alpha");
    EXPECT_FALSE(fs::exists(host("a.txt")));

    // A read-only source may move, a read-only destination may not be replaced.
    qv_test::write_host_file(host("r.txt"), "read-only");
    ASSERT_FALSE(os::set_file_attributes(path(L"r.txt"), attr::readonly));
    EXPECT_EQ(os::move_file_replace(path(L"b.txt"), path(L"r.txt")),
              code(win32_error::access_denied));
    EXPECT_FALSE(os::move_file_replace(path(L"r.txt"), path(L"b.txt")));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "read-only");
    EXPECT_EQ(*os::get_file_attributes(path(L"b.txt")), attr::readonly);

    fs::create_directory(host("folder"));
    EXPECT_EQ(os::move_file_replace(path(L"folder"), path(L"b.txt")),
              code(win32_error::access_denied));
    EXPECT_EQ(os::move_file_replace(path(L"b.txt"), path(L"folder")),
              code(win32_error::access_denied));
}

TEST_F(files_moves, renames_keep_attributes) {
    ASSERT_FALSE(os::set_file_attributes(path(L"a.txt"), attr::hidden | attr::system));
    ASSERT_FALSE(os::move_file(path(L"a.txt"), path(L"c.txt")));
    EXPECT_EQ(*os::get_file_attributes(path(L"c.txt")), attr::hidden | attr::system);
}

TEST_F(files_moves, copies_take_content_attributes_and_modification_time) {
    ASSERT_FALSE(
        os::set_file_attributes(path(L"a.txt"), attr::readonly | attr::hidden | attr::archive));
    const timespec times[2] = {{1000000000, 0}, {1200000000, 500}};
    ASSERT_EQ(::utimensat(AT_FDCWD, host("a.txt").c_str(), times, 0), 0);

    EXPECT_FALSE(os::copy_file(path(L"a.txt"), path(L"copy.txt"), os::overwrite::forbid));
    EXPECT_EQ(qv_test::read_host_file(host("copy.txt")), "alpha");
    EXPECT_EQ(*os::get_file_attributes(path(L"copy.txt")),
              attr::readonly | attr::hidden | attr::archive);
    struct stat copied {};
    ASSERT_EQ(::stat(host("copy.txt").c_str(), &copied), 0);
    EXPECT_EQ(copied.st_mtim.tv_sec, 1200000000);
    EXPECT_EQ(copied.st_mtim.tv_nsec, 500);
    EXPECT_EQ(qv_test::read_host_file(host("a.txt")), "alpha");
}

TEST_F(files_moves, copies_replace_only_what_they_may) {
    EXPECT_EQ(os::copy_file(path(L"a.txt"), path(L"b.txt"), os::overwrite::forbid),
              code(win32_error::file_exists));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "beta");
    EXPECT_FALSE(os::copy_file(path(L"a.txt"), path(L"b.txt"), os::overwrite::allow));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "alpha");

    for (std::uint32_t guarded : {attr::readonly, attr::hidden}) {
        qv_test::write_host_file(host("guarded.txt"), "guarded");
        ASSERT_FALSE(os::set_file_attributes(path(L"guarded.txt"), guarded));
        EXPECT_EQ(os::copy_file(path(L"a.txt"), path(L"guarded.txt"), os::overwrite::allow),
                  code(win32_error::access_denied));
        EXPECT_EQ(qv_test::read_host_file(host("guarded.txt")), "guarded");
        ASSERT_FALSE(os::set_file_attributes(path(L"guarded.txt"), attr::normal));
    }
    EXPECT_EQ(os::copy_file(path(L"a.txt"), path(L"A.TXT"), os::overwrite::allow),
              code(win32_error::sharing_violation));
    fs::create_directory(host("folder"));
    EXPECT_EQ(os::copy_file(path(L"folder"), path(L"c.txt"), os::overwrite::allow),
              code(win32_error::access_denied));
    EXPECT_EQ(os::copy_file(path(L"none.txt"), path(L"c.txt"), os::overwrite::allow),
              code(win32_error::file_not_found));
    EXPECT_EQ(os::copy_file(path(L"a.txt"), path(L"none\\c.txt"), os::overwrite::allow),
              code(win32_error::path_not_found));
    EXPECT_EQ(entries(), (std::vector<std::string>{"a.txt", "b.txt", "folder", "guarded.txt"}));
}

// A folder on another host file system, reached through drive Z:.
class other_file_system {
public:
    other_file_system() {
        std::string pattern = "/dev/shm/qv-files-XXXXXX";
        if (::mkdtemp(pattern.data()))
            folder_ = pattern;
    }
    ~other_file_system() {
        std::error_code ignored;
        for (auto it = fs::recursive_directory_iterator(folder_, ignored);
             it != fs::recursive_directory_iterator(); it.increment(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(folder_, ignored);
    }
    bool usable(const fs::path& machine_folder) const {
        struct stat here {
        }, there{};
        return !folder_.empty() && ::stat(folder_.c_str(), &there) == 0 &&
               ::stat(machine_folder.c_str(), &here) == 0 && here.st_dev != there.st_dev;
    }
    const fs::path& host() const { return folder_; }
    std::wstring windows(const wchar_t* name) const {
        std::wstring path = L"Z:" + os::from_utf8(folder_.string()) + L"/" + name;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    }

private:
    fs::path folder_;
};

TEST_F(files_moves, files_move_across_file_systems_and_folders_do_not) {
    other_file_system other;
    if (!other.usable(machine.drive_c()))
        GTEST_SKIP() << "no second host file system in /dev/shm";
    ASSERT_FALSE(os::set_file_attributes(path(L"a.txt"), attr::hidden | attr::readonly));

    EXPECT_FALSE(os::move_file(path(L"a.txt"), other.windows(L"a.txt")));
    EXPECT_FALSE(fs::exists(host("a.txt")));
    EXPECT_EQ(qv_test::read_host_file(other.host() / "a.txt"), "alpha");
    EXPECT_EQ(*os::get_file_attributes(other.windows(L"a.txt")), attr::hidden | attr::readonly);

    qv_test::write_host_file(other.host() / "b.txt", "other beta");
    EXPECT_EQ(os::move_file(path(L"b.txt"), other.windows(L"b.txt")),
              code(win32_error::already_exists));
    EXPECT_EQ(qv_test::read_host_file(host("b.txt")), "beta");
    EXPECT_FALSE(os::move_file_replace(path(L"b.txt"), other.windows(L"b.txt")));
    EXPECT_EQ(qv_test::read_host_file(other.host() / "b.txt"), "beta");
    EXPECT_FALSE(fs::exists(host("b.txt")));

    fs::create_directory(host("folder"));
    EXPECT_EQ(os::move_file(path(L"folder"), other.windows(L"folder")),
              code(win32_error::not_same_device));
    EXPECT_TRUE(fs::is_directory(host("folder")));
    EXPECT_EQ(std::distance(fs::directory_iterator(other.host()), fs::directory_iterator()), 2);
}

} // namespace
