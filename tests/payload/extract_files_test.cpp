// The extraction's files on the machine: overwriting, sharing with other processes, symbolic
// links, failing file operations, and the shared folders it opens up.

#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/files.h"

#include "tests/payload/extraction_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/security_test_support.h"

#include <unistd.h>

namespace {

using namespace extraction_test;
namespace fs = std::filesystem;

class extract_files : public extraction_fixture {
protected:
    // A folder of the host outside the machine, where planted links point.
    fs::path elsewhere() const {
        const auto folder = machine.root().parent_path() / "elsewhere";
        fs::create_directories(folder);
        return folder;
    }
};

TEST_F(extract_files, a_read_only_target_is_overwritten) {
    const std::wstring target = install + L"\\Varnolis.exe";
    fs::create_directories(host(install));
    qv_test::write_host_file(host(target), "the old program, longer than the new");
    ASSERT_FALSE(os::set_file_attributes(target, os::file_attribute::readonly));

    EXPECT_TRUE(extract_entries({{L"Varnolis.exe", L"<InstallPath>", "new program", 1}}));
    EXPECT_EQ(content_of(target), "new program");
    EXPECT_FALSE(*os::get_file_attributes(target) & os::file_attribute::readonly);
}

// Whether or not the file the link points to is read-only, following the link would change it.
TEST_F(extract_files, a_symbolic_link_at_a_target_is_neither_followed_nor_replaced) {
    const std::wstring target = install + L"\\a.txt";
    fs::create_directories(host(install));
    for (const auto permissions :
         {fs::perms::owner_read | fs::perms::owner_write, fs::perms::owner_read}) {
        const fs::path secret = elsewhere() / "secret.txt";
        fs::remove(secret);
        qv_test::write_host_file(secret, "secret");
        fs::permissions(secret, permissions);
        fs::remove(host(target));
        fs::create_symlink(secret, host(target));

        log.clear();
        EXPECT_FALSE(extract_entries({{L"a.txt", L"<InstallPath>", "planted"}}));
        EXPECT_EQ(log.back(), "failed win32:5 " + utf8(target));
        EXPECT_EQ(qv_test::read_host_file(secret), "secret");
        EXPECT_EQ(fs::status(secret).permissions() & fs::perms::all, permissions);
        EXPECT_TRUE(fs::is_symlink(host(target)));
    }
}

// Another process opens the finished file without read sharing just before it is closed and
// read back, and keeps it open: the read-back is tried four times and the extraction fails.
TEST_F(extract_files, a_file_held_by_another_process_fails_with_the_sharing_violation) {
    const std::string content = payload_test::varied_bytes(5000, 4);
    const std::vector<test_entry> entries = {{L"held.bin", L"<InstallPath>", content},
                                             {L"next.bin", L"<InstallPath>", "next"}};
    const std::wstring target = install + L"\\held.bin";
    const std::uint64_t end_of_held = payload_test::table_bytes(entries).size() + content.size();

    qv_test::pipe_pair go;
    qv_test::pipe_pair holding;
    qv_test::background_child holder([&] {
        go.close_writing();
        holding.close_reading();
        if (!go.wait())
            return 1;
        // Reading while the writer still has the file open needs it to share writing.
        auto file = os::create_file(target, os::file_access::generic_read, os::file_share::write,
                                    os::creation::open_existing);
        if (!file)
            return 2;
        holding.signal();
        for (;;)
            ::pause();
    });
    go.close_reading();
    holding.close_writing();

    reply = [&](const qv::notification& message) {
        const auto* progress = std::get_if<qv::notification::progress>(&message);
        if (progress && progress->position == end_of_held) {
            go.signal();
            EXPECT_TRUE(holding.wait()) << "the other process could not open the file";
        }
        return answer::proceed;
    };
    EXPECT_FALSE(extract_entries(entries));
    EXPECT_EQ(log.back(), "failed win32:32 " + utf8(target));
    EXPECT_TRUE(lines_starting("end ").empty());
    EXPECT_FALSE(os::path_exists(install + L"\\next.bin"));
}

TEST_F(extract_files, a_failing_file_operation_fails_with_its_windows_code_and_the_file) {
    const std::wstring target = install + L"\\a.txt";
    fs::create_directories(host(install));
    // From file_begin on: the open is the first operation, the one write of a small file the
    // second (when the file is closed), the read-back's open the third.
    for (std::uint64_t operation : {1, 2, 3}) {
        log.clear();
        reply = [&](const qv::notification& message) {
            if (std::holds_alternative<qv::notification::file_begin>(message))
                os::fail_file_operation(operation, 112);
            return answer::proceed;
        };
        EXPECT_FALSE(extract_entries({{L"a.txt", L"<InstallPath>", "content"}})) << operation;
        EXPECT_EQ(log.back(), "failed win32:112 " + utf8(target)) << operation;
    }
}

TEST_F(extract_files, a_parent_folder_that_cannot_be_made_fails_with_the_file) {
    qv_test::write_host_file(machine.drive_c("Apps"), "a file where a folder belongs");
    EXPECT_FALSE(extract_entries({{L"a.txt", L"<InstallPath>\\Lang", "content"}}));
    const auto failure = log.back();
    EXPECT_TRUE(failure.starts_with("failed win32:")) << failure;
    EXPECT_TRUE(failure.ends_with(" " + utf8(install + L"\\Lang\\a.txt"))) << failure;
}

TEST_F(extract_files, the_shared_folders_are_opened_to_every_local_user_once_they_exist) {
    const std::wstring common = L"C:\\ProgramData";
    EXPECT_TRUE(extract_entries({
        {L"Units.vdat", L"<CommonData>\\Quorvane\\Varnolis 2", "units", 3},
        {L"Palettes.vdat", L"<CommonData>\\Quorvane\\Varnolis 2", "palettes", 3},
        {L"Varnolis.exe", L"<InstallPath>", "program", 1},
    }));
    using security_test::acl_text;
    using security_test::list_kind;
    for (const auto* folder : {L"\\Quorvane", L"\\Quorvane\\Varnolis 2"}) {
        const auto granted = host(common + folder);
        EXPECT_NE(acl_text(granted, list_kind::access).find("group:users:rwx"), std::string::npos)
            << granted;
        EXPECT_NE(acl_text(granted, list_kind::default_list).find("group:users:rwx"),
                  std::string::npos)
            << granted;
    }
    EXPECT_EQ(acl_text(host(common), list_kind::access).find("group:users:"), std::string::npos);
    EXPECT_EQ(acl_text(host(install), list_kind::access).find("group:users:"), std::string::npos);
}

TEST_F(extract_files, a_symbolic_link_planted_as_a_shared_folder_is_not_opened_up) {
    const fs::path target = elsewhere();
    const auto before = security_test::acl_text(target, security_test::list_kind::access);
    fs::create_directories(host(L"C:\\ProgramData\\Quorvane"));
    fs::create_directory_symlink(target, host(L"C:\\ProgramData\\Quorvane") / "Varnolis 2");

    extract_entries({{L"Units.vdat", L"<CommonData>\\Quorvane\\Varnolis 2", "units", 3}});
    EXPECT_EQ(security_test::acl_text(target, security_test::list_kind::access), before);
    EXPECT_EQ(security_test::acl_text(target, security_test::list_kind::default_list), "");
}

} // namespace
