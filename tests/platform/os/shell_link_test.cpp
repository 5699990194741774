#include "platform/os/com_library.h"
#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/shell_link.h"
#include "platform/os/unicode.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/lnkinfo.h"
#include "tests/support/temp_machine.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace os = platform::os;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class shell_link_test : public testing::Test {
protected:
    shell_link_test() { os::machine_root(); }

    // A link object, made on this thread under the fixture's COM initialization.
    os::shell_link new_link() {
        auto link = os::shell_link::create();
        if (!link)
            throw std::system_error(link.error());
        return std::move(*link);
    }

    qv_test::temp_machine machine;
    os::com_initialization com;
};

TEST(shell_link_com, a_link_is_created_only_on_a_thread_that_initialized_com) {
    EXPECT_EQ(os::shell_link::create().error(),
              os::hresult_error_code(os::hresults::co_e_notinitialized));
    {
        const os::com_initialization outer;
        EXPECT_EQ(outer.status(), os::hresults::s_ok);
        {
            const os::com_initialization inner;
            EXPECT_EQ(inner.status(), os::hresults::s_false);
        }
        // The inner end leaves the outer initialization in place.
        EXPECT_TRUE(os::shell_link::create());
        std::thread other([] {
            EXPECT_FALSE(os::com_initialized_on_this_thread());
            EXPECT_FALSE(os::shell_link::create());
            const os::com_initialization own;
            EXPECT_EQ(own.status(), os::hresults::s_ok);
            EXPECT_TRUE(os::shell_link::create());
        });
        other.join();
    }
    EXPECT_FALSE(os::com_initialized_on_this_thread());
    EXPECT_FALSE(os::shell_link::create());
}

TEST_F(shell_link_test, set_path_keeps_the_full_form_of_drive_paths_only) {
    ASSERT_FALSE(os::create_directory(L"C:\\Apps"));
    ASSERT_FALSE(os::set_current_directory(L"C:\\Apps"));
    struct {
        const wchar_t* path;
        win32_error outcome;
        const wchar_t* target;
    } const cases[] = {
        {L"prog.exe", win32_error::success, L"C:\\Apps\\prog.exe"},
        {L"C:/a/./b/../c.exe", win32_error::success, L"C:\\a\\c.exe"},
        {L"\\\\server\\share\\prog.exe", win32_error::bad_netpath, L"C:\\kept.exe"},
        {L"\\\\.\\COM1", win32_error::invalid_name, L"C:\\kept.exe"},
        {L"", win32_error::success, L""},
    };
    for (const auto& c : cases) {
        os::shell_link link = new_link();
        ASSERT_FALSE(link.set_path(L"C:\\kept.exe"));
        EXPECT_EQ(link.set_path(c.path), code(c.outcome)) << os::to_utf8(c.path);
        EXPECT_EQ(link.fields().target, c.target) << os::to_utf8(c.path);
    }
}

TEST_F(shell_link_test, set_path_takes_the_find_data_of_an_existing_target) {
    ASSERT_FALSE(os::create_directory(L"C:\\Apps"));
    files_test::put_file(L"C:\\Apps\\prog.exe", std::string(5000, 'x'));
    ASSERT_FALSE(os::set_file_attributes(L"C:\\Apps\\prog.exe", os::file_attribute::readonly |
                                                                    os::file_attribute::archive));
    struct stat status {};
    ASSERT_EQ(::stat(machine.drive_c("Apps/prog.exe").c_str(), &status), 0);
    const std::uint64_t write_time =
        (static_cast<std::uint64_t>(status.st_mtim.tv_sec) + 11644473600u) * 10000000u +
        static_cast<std::uint64_t>(status.st_mtim.tv_nsec) / 100u;

    os::shell_link link = new_link();
    ASSERT_FALSE(link.set_path(L"c:\\apps\\PROG.EXE"));
    const auto& data = link.fields().target_data;
    EXPECT_EQ(data.attributes, os::file_attribute::readonly | os::file_attribute::archive);
    EXPECT_EQ(data.size, 5000u);
    EXPECT_EQ(data.write_time, write_time);
    EXPECT_EQ(link.fields().volume_serial,
              static_cast<std::uint32_t>(os::get_file_identity(L"C:\\")->volume));

    // A target that is not there has no find data.
    ASSERT_FALSE(link.set_path(L"C:\\Apps\\missing.exe"));
    EXPECT_EQ(link.fields().target_data, os::link_target_data{});
}

// lnkinfo reads what save writes: a path in plain ASCII, one the ANSI code page spells, and one
// that only the link information's Unicode form holds.
TEST_F(shell_link_test, lnkinfo_reads_the_saved_links) {
    struct {
        const wchar_t* target;
        const char* printed_target;
    } const cases[] = {
        {L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe",
         "C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe"},
        {L"C:\\Program Files\\Quorvane\\Varnolis 2\\D\u00E9sinstaller.exe",
         "C:\\Program Files\\Quorvane\\Varnolis 2\\D\xC3\xA9sinstaller.exe"},
        {L"C:\\\u03A9mega\\prog.exe", "C:\\\xCE\xA9mega\\prog.exe"},
    };
    for (const auto& c : cases) {
        os::shell_link link = new_link();
        ASSERT_FALSE(link.set_path(c.target));
        link.set_working_directory(L"C:\\Program Files\\Quorvane\\Varnolis 2");
        link.set_description(L"D\u00E9sinstaller Varnolis");
        link.set_arguments(L"/Register /Background");
        link.set_icon_location(L"C:\\Program Files\\Quorvane\\Varnolis 2\\icons.dll", 2);
        ASSERT_FALSE(link.save(L"C:\\users\\Public\\Desktop\\Varnolis.lnk"));

        const auto printed =
            qv_test::lnkinfo_fields(machine.drive_c("users/Public/Desktop/Varnolis.lnk"));
        EXPECT_EQ(printed.at("Local path"), c.printed_target);
        EXPECT_EQ(printed.at("Working directory"), "C:\\Program Files\\Quorvane\\Varnolis 2");
        EXPECT_EQ(printed.at("Description"), "D\xC3\xA9sinstaller Varnolis");
        EXPECT_EQ(printed.at("Command line arguments"), "/Register /Background");
        EXPECT_EQ(printed.at("Icon location"),
                  "C:\\Program Files\\Quorvane\\Varnolis 2\\icons.dll");
        EXPECT_EQ(printed.at("Icon index"), "2");
        EXPECT_EQ(printed.at("Drive type"), "Fixed (3)");
    }
}

TEST_F(shell_link_test, a_saved_link_loads_back_and_replaces_the_link_it_overwrites) {
    ASSERT_FALSE(os::create_directory(L"C:\\Apps"));
    files_test::put_file(L"C:\\Apps\\prog.exe", "program");
    os::shell_link first = new_link();
    ASSERT_FALSE(first.set_path(L"C:\\Apps\\old.exe"));
    first.set_description(L"a much longer description than the second link has");
    ASSERT_FALSE(first.save(L"C:\\Apps\\prog.lnk"));

    os::shell_link second = new_link();
    ASSERT_FALSE(second.set_path(L"C:\\Apps\\prog.exe"));
    second.set_working_directory(L"C:\\Apps");
    second.set_show_command(os::show_command::min_no_active);
    ASSERT_FALSE(second.save(L"C:\\Apps\\prog.lnk"));

    os::shell_link loaded = new_link();
    ASSERT_FALSE(loaded.load(L"C:\\Apps\\PROG.LNK"));
    EXPECT_EQ(loaded.fields(), second.fields());
    // The folder holds the program and its link, nothing left from writing it.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(machine.drive_c("Apps")))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"prog.exe", "prog.lnk"}));
}

TEST_F(shell_link_test, a_link_that_cannot_be_saved_leaves_the_file_as_it_was) {
    ASSERT_FALSE(os::create_directory(L"C:\\Apps"));
    files_test::put_file(L"C:\\Apps\\prog.lnk", "earlier");
    ASSERT_FALSE(os::set_file_attributes(L"C:\\Apps\\prog.lnk", os::file_attribute::readonly));
    os::shell_link link = new_link();
    ASSERT_FALSE(link.set_path(L"C:\\Apps\\prog.exe"));
    EXPECT_EQ(link.save(L"C:\\Apps\\prog.lnk"), code(win32_error::access_denied));

    ASSERT_FALSE(os::set_file_attributes(L"C:\\Apps\\prog.lnk", os::file_attribute::normal));
    link.set_arguments(std::wstring(0x10000, L'a'));
    EXPECT_EQ(link.save(L"C:\\Apps\\prog.lnk"), code(win32_error::invalid_parameter));
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("Apps/prog.lnk")), "earlier");
    EXPECT_EQ(
        std::distance(fs::directory_iterator(machine.drive_c("Apps")), fs::directory_iterator()),
        1);
}

TEST_F(shell_link_test, loading_fails_without_changing_the_link) {
    files_test::put_file(L"C:\\ProgramData\\not-a-link.lnk", std::string(0x4C, 'L'));
    os::shell_link link = new_link();
    ASSERT_FALSE(link.set_path(L"C:\\Apps\\prog.exe"));
    const os::shell_link_fields before = link.fields();
    EXPECT_EQ(link.load(L"C:\\ProgramData\\missing.lnk"), code(win32_error::file_not_found));
    EXPECT_EQ(link.load(L"C:\\ProgramData\\not-a-link.lnk"), code(win32_error::invalid_data));
    EXPECT_EQ(link.fields(), before);
}

} // namespace
