#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os = platform::os;
using files_test::code;
using os::win32_error;

namespace {

constexpr auto read_access = os::file_access::generic_read;
constexpr auto write_access = os::file_access::generic_write;

class files_open : public testing::Test {
protected:
    files_open() { os::machine_root(); }
    qv_test::temp_machine machine;
    const std::wstring file = L"C:\\ProgramData\\data.bin";
    const std::filesystem::path host = machine.drive_c("ProgramData/data.bin");
};

struct disposition_case {
    os::creation how;
    bool exists;
    win32_error outcome;
    const char* content_after; // nullptr: no file afterwards
};

TEST_F(files_open, dispositions_create_open_and_truncate_as_windows) {
    const disposition_case cases[] = {
        {os::creation::create_new, false, win32_error::success, ""},
        {os::creation::create_new, true, win32_error::file_exists, "old"},
        {os::creation::create_always, false, win32_error::success, ""},
        {os::creation::create_always, true, win32_error::success, ""},
        {os::creation::open_existing, false, win32_error::file_not_found, nullptr},
        {os::creation::open_existing, true, win32_error::success, "old"},
        {os::creation::open_always, false, win32_error::success, ""},
        {os::creation::open_always, true, win32_error::success, "old"},
        {os::creation::truncate_existing, false, win32_error::file_not_found, nullptr},
        {os::creation::truncate_existing, true, win32_error::success, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "disposition " << static_cast<int>(c.how)
                                        << (c.exists ? " over a file" : " on nothing"));
        std::filesystem::remove(host);
        if (c.exists)
            qv_test::write_host_file(host, "old");
        auto opened =
            os::create_file(file, read_access | write_access, os::file_share::none, c.how);
        EXPECT_EQ(opened.error(), code(c.outcome));
        opened = os::file_handle();
        if (c.content_after)
            EXPECT_EQ(qv_test::read_host_file(host), c.content_after);
        else
            EXPECT_FALSE(std::filesystem::exists(host));
    }
}

TEST_F(files_open, a_missing_folder_on_the_way_is_path_not_found) {
    qv_test::write_host_file(host, "a file, not a folder");
    for (const wchar_t* path : {L"C:\\ProgramData\\missing\\new.txt", L"C:\\nowhere\\a\\b.txt",
                                L"C:\\ProgramData\\data.bin\\inside.txt"}) {
        for (auto how :
             {os::creation::create_new, os::creation::open_existing, os::creation::open_always}) {
            auto opened = os::create_file(path, read_access, os::file_share::read, how);
            EXPECT_EQ(opened.error(), code(win32_error::path_not_found))
                << platform::os::to_utf8(path) << " disposition " << static_cast<int>(how);
        }
    }
}

TEST_F(files_open, reads_writes_seeks_and_sizes) {
    auto opened = os::create_file(file, read_access | write_access, os::file_share::none,
                                  os::creation::create_new);
    ASSERT_TRUE(opened);
    os::file_handle& handle = *opened;
    ASSERT_FALSE(handle.write(files_test::bytes_of("hello world")));
    EXPECT_EQ(*handle.size(), 11u);
    EXPECT_EQ(*handle.seek(6, os::seek_origin::begin), 6u);
    EXPECT_EQ(files_test::read_rest(handle), "world");
    EXPECT_EQ(*handle.seek(-5, os::seek_origin::end), 6u);
    EXPECT_EQ(*handle.seek(-1, os::seek_origin::current), 5u);
    EXPECT_EQ(handle.seek(-6, os::seek_origin::current).error(),
              code(win32_error::invalid_parameter));
    // Writing past the end fills the gap with zeros.
    ASSERT_TRUE(handle.seek(13, os::seek_origin::begin));
    ASSERT_FALSE(handle.write(files_test::bytes_of("!")));
    EXPECT_FALSE(handle.flush());
    EXPECT_FALSE(handle.close());
    EXPECT_EQ(qv_test::read_host_file(host), std::string("hello world\0\0!", 14));
    EXPECT_EQ(handle.read({}).error(), code(win32_error::invalid_handle));
    EXPECT_EQ(handle.close(), code(win32_error::invalid_handle));
}

TEST_F(files_open, a_handle_does_only_what_its_access_allows) {
    qv_test::write_host_file(host, "content");
    auto reader =
        os::create_file(file, read_access, os::file_share::all, os::creation::open_existing);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->write(files_test::bytes_of("x")), code(win32_error::access_denied));
    auto writer =
        os::create_file(file, write_access, os::file_share::all, os::creation::open_existing);
    ASSERT_TRUE(writer);
    std::byte buffer[4];
    EXPECT_EQ(writer->read(buffer).error(), code(win32_error::access_denied));
    EXPECT_EQ(
        os::create_file(file, read_access, os::file_share::all, os::creation::truncate_existing)
            .error(),
        code(win32_error::invalid_parameter));
    EXPECT_EQ(qv_test::read_host_file(host), "content");
}

TEST_F(files_open, folders_cannot_be_opened_as_files) {
    EXPECT_EQ(os::create_file(L"C:\\ProgramData", read_access, os::file_share::all,
                              os::creation::open_existing)
                  .error(),
              code(win32_error::access_denied));
    EXPECT_EQ(os::create_file(L"C:\\ProgramData", read_access, os::file_share::all,
                              os::creation::create_new)
                  .error(),
              code(win32_error::file_exists));
    EXPECT_EQ(os::delete_file(L"C:\\ProgramData"), code(win32_error::access_denied));
}

TEST_F(files_open, a_read_only_file_refuses_every_change_even_to_root) {
    ASSERT_EQ(::geteuid(), 0u) << "the machine runs these tests as root";
    qv_test::write_host_file(host, "kept");
    ASSERT_FALSE(os::set_file_attributes(file, os::file_attribute::readonly));
    const std::pair<std::uint32_t, os::creation> refused[] = {
        {write_access, os::creation::open_existing},
        {write_access, os::creation::open_always},
        {read_access | write_access, os::creation::create_always},
        {write_access, os::creation::truncate_existing},
        {read_access, os::creation::create_always},
    };
    for (const auto& [access, how] : refused)
        EXPECT_EQ(os::create_file(file, access, os::file_share::all, how).error(),
                  code(win32_error::access_denied))
            << "disposition " << static_cast<int>(how);
    EXPECT_EQ(os::delete_file(file), code(win32_error::access_denied));
    auto reader =
        os::create_file(file, read_access, os::file_share::read, os::creation::open_existing);
    ASSERT_TRUE(reader);
    EXPECT_EQ(files_test::read_rest(*reader), "kept");
    EXPECT_EQ(qv_test::read_host_file(host), "kept");
}

TEST_F(files_open, overwriting_a_hidden_or_system_file_must_keep_those_attributes) {
    namespace attr = os::file_attribute;
    for (std::uint32_t guarded : {attr::hidden, attr::system, attr::hidden | attr::system}) {
        files_test::put_file(file, "old");
        ASSERT_FALSE(os::set_file_attributes(file, guarded));
        EXPECT_EQ(os::create_file(file, write_access, os::file_share::none,
                                  os::creation::create_always, attr::normal)
                      .error(),
                  code(win32_error::access_denied));
        EXPECT_EQ(qv_test::read_host_file(host), "old");
        auto replaced = os::create_file(file, write_access, os::file_share::none,
                                        os::creation::create_always, guarded | attr::readonly);
        ASSERT_TRUE(replaced);
        replaced = os::file_handle();
        EXPECT_EQ(qv_test::read_host_file(host), "");
        // Combined with what the file had, archive set, and the new read-only applied.
        EXPECT_EQ(*os::get_file_attributes(file), guarded | attr::readonly | attr::archive);
        ASSERT_FALSE(os::set_file_attributes(file, attr::normal));
    }
}

TEST_F(files_open, a_full_disk_is_error_112) {
    auto full = os::create_file(L"Z:\\dev\\full", write_access, os::file_share::all,
                                os::creation::open_existing);
    ASSERT_TRUE(full) << full.error().message();
    EXPECT_EQ(full->write(files_test::bytes_of("data")), code(win32_error::disk_full));
}

TEST_F(files_open, delete_removes_files_and_reports_missing_ones) {
    qv_test::write_host_file(host, "x");
    EXPECT_FALSE(os::delete_file(file));
    EXPECT_FALSE(std::filesystem::exists(host));
    EXPECT_EQ(os::delete_file(file), code(win32_error::file_not_found));
    EXPECT_EQ(os::delete_file(L"C:\\ProgramData\\none\\x"), code(win32_error::path_not_found));
}

TEST_F(files_open, names_match_without_case_and_identity_follows_the_file) {
    qv_test::write_host_file(host, "x");
    EXPECT_TRUE(os::path_exists(L"c:\\programdata\\DATA.BIN"));
    EXPECT_FALSE(os::path_exists(L"C:\\ProgramData\\other.bin"));
    EXPECT_FALSE(os::path_exists(L"C:\\ProgramData\\a<b"));
    auto one = os::get_file_identity(file);
    auto two = os::get_file_identity(L"C:\\PROGRAMDATA\\data.BIN");
    ASSERT_TRUE(one);
    ASSERT_TRUE(two);
    EXPECT_EQ(*one, *two);
    EXPECT_FALSE(*one == *os::get_file_identity(L"C:\\ProgramData"));
    EXPECT_EQ(os::get_file_identity(L"C:\\ProgramData\\gone").error(),
              code(win32_error::file_not_found));
}

} // namespace
