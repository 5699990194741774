#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/file_replacement.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace os = platform::os;
namespace fs = std::filesystem;
using files_test::bytes_of;
using files_test::code;
using os::win32_error;

namespace {

class file_replacement : public testing::Test {
protected:
    file_replacement() {
        os::machine_root();
        EXPECT_FALSE(os::create_directory(L"C:\\Links"));
    }
    ~file_replacement() override { os::fail_file_operation(0, 0); }

    std::vector<std::string> folder_entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(machine.drive_c("Links")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    qv_test::temp_machine machine;
};

TEST_F(file_replacement, writes_a_new_file_and_replaces_an_existing_one_whole) {
    EXPECT_FALSE(os::replace_file_content(L"C:\\Links\\a.lnk", bytes_of("first content")));
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("Links/a.lnk")), "first content");
    EXPECT_FALSE(os::replace_file_content(L"C:\\LINKS\\A.LNK", bytes_of("2nd")));
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("Links/a.lnk")), "2nd");
    EXPECT_EQ(folder_entries(), std::vector<std::string>{"a.lnk"});
}

// Whatever stops the replacement, the file keeps its earlier content and no temporary stays.
TEST_F(file_replacement, a_failure_at_any_step_leaves_the_file_as_it_was) {
    struct failure_case {
        const char* what;
        std::function<void()> arrange;
        const wchar_t* path;
        win32_error expected;
    };
    const failure_case cases[] = {
        {"folder missing", [] {}, L"C:\\Links\\Missing\\a.lnk", win32_error::path_not_found},
        {"a file where the folder should be", [] {}, L"C:\\Links\\a.lnk\\b.lnk",
         win32_error::path_not_found},
        {"a folder at the path",
         [] { EXPECT_FALSE(os::create_directory(L"C:\\Links\\folder.lnk")); },
         L"C:\\Links\\folder.lnk", win32_error::access_denied},
        {"read-only file",
         [] {
             EXPECT_FALSE(
                 os::set_file_attributes(L"C:\\Links\\a.lnk", os::file_attribute::readonly));
         },
         L"C:\\Links\\a.lnk", win32_error::access_denied},
        {"temporary name fails", [] { os::fail_file_operation(1, 112); }, L"C:\\Links\\a.lnk",
         win32_error::disk_full},
        {"temporary cannot be opened", [] { os::fail_file_operation(2, 5); }, L"C:\\Links\\a.lnk",
         win32_error::access_denied},
        {"write fails", [] { os::fail_file_operation(3, 112); }, L"C:\\Links\\a.lnk",
         win32_error::disk_full},
        {"move fails", [] { os::fail_file_operation(4, 32); }, L"C:\\Links\\a.lnk",
         win32_error::sharing_violation},
    };
    for (const auto& c : cases) {
        files_test::put_file(L"C:\\Links\\a.lnk", "earlier");
        c.arrange();
        EXPECT_EQ(os::replace_file_content(c.path, bytes_of("replacement")), code(c.expected))
            << c.what;
        os::fail_file_operation(0, 0);
        EXPECT_EQ(qv_test::read_host_file(machine.drive_c("Links/a.lnk")), "earlier") << c.what;
        std::vector<std::string> entries = folder_entries();
        std::erase(entries, "folder.lnk");
        EXPECT_EQ(entries, std::vector<std::string>{"a.lnk"}) << c.what;
        ASSERT_FALSE(os::set_file_attributes(L"C:\\Links\\a.lnk", os::file_attribute::normal));
    }
}

TEST_F(file_replacement, a_file_held_open_without_sharing_deletion_is_not_replaced) {
    files_test::put_file(L"C:\\Links\\a.lnk", "earlier");
    qv_test::pipe_pair opened;
    qv_test::pipe_pair done;
    qv_test::background_child holder([&] {
        auto file = os::create_file(L"C:\\Links\\a.lnk", os::file_access::generic_read,
                                    os::file_share::read | os::file_share::write,
                                    os::creation::open_existing);
        if (!file)
            return 1;
        opened.signal();
        done.wait();
        return 0;
    });
    ASSERT_TRUE(opened.wait());
    EXPECT_EQ(os::replace_file_content(L"C:\\Links\\a.lnk", bytes_of("replacement")),
              code(win32_error::sharing_violation));
    done.signal();
    EXPECT_EQ(holder.join(), 0);
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("Links/a.lnk")), "earlier");
    EXPECT_EQ(folder_entries(), std::vector<std::string>{"a.lnk"});
}

// A reader in another process never sees a mixture or a part of the two contents.
TEST_F(file_replacement, readers_see_the_old_or_the_new_content_never_a_part) {
    const std::string a(1 << 16, 'a');
    const std::string b(1 << 16, 'b');
    files_test::put_file(L"C:\\Links\\a.lnk", a);
    qv_test::background_child writer([&] {
        for (int round = 0; round < 200; ++round) {
            const std::string& content = round % 2 ? a : b;
            if (os::replace_file_content(L"C:\\Links\\a.lnk", bytes_of(content)))
                return 1;
        }
        return 0;
    });
    for (int read = 0; read < 200; ++read) {
        const std::string seen = qv_test::read_host_file(machine.drive_c("Links/a.lnk"));
        ASSERT_TRUE(seen == a || seen == b)
            << "read " << read << " saw " << seen.size() << " bytes";
    }
    EXPECT_EQ(writer.join(), 0);
}

} // namespace
