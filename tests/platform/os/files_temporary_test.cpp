#include "platform/os/machine.h"
#include "platform/os/temporary_files.h"
#include "platform/os/unicode.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace os = platform::os;
namespace fs = std::filesystem;
using files_test::code;
using os::win32_error;

namespace {

class files_temporary : public testing::Test {
protected:
    files_temporary() { os::machine_root(); }
    qv_test::temp_machine machine;
};

TEST_F(files_temporary, the_folder_is_the_users_local_temp_and_comes_back) {
    const std::wstring expected = L"C:\\users\\" + os::user_name() + L"\\AppData\\Local\\Temp\\";
    const fs::path host = machine.drive_c("users") / os::to_utf8(os::user_name()) / "AppData";
    fs::remove_all(host);
    EXPECT_EQ(*os::temporary_folder(), expected);
    EXPECT_TRUE(fs::is_directory(host / "Local" / "Temp"));
}

TEST_F(files_temporary, a_given_number_names_without_creating) {
    const std::tuple<const wchar_t*, const wchar_t*, std::uint32_t, const wchar_t*> cases[] = {
        {L"C:\\ProgramData", L"setup", 0x1A2B, L"C:\\ProgramData\\set1A2B.tmp"},
        {L"C:\\ProgramData\\", L"qv", 0x00F, L"C:\\ProgramData\\qvF.tmp"},
        {L"C:\\missing", L"", 0x12345, L"C:\\missing\\2345.tmp"},
    };
    for (const auto& [folder, prefix, unique, expected] : cases) {
        EXPECT_EQ(*os::temporary_file_name(folder, prefix, unique), expected);
        EXPECT_FALSE(os::path_exists(expected));
    }
}

TEST_F(files_temporary, a_picked_number_gives_a_new_empty_file) {
    const auto first = os::temporary_file_name(L"C:\\ProgramData", L"abcdef");
    const auto second = os::temporary_file_name(L"C:\\ProgramData", L"abcdef");
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(*first, *second);
    for (const std::wstring& name : {*first, *second}) {
        const std::wstring file = name.substr(std::wstring(L"C:\\ProgramData\\").size());
        EXPECT_TRUE(file.starts_with(L"abc") && file.ends_with(L".tmp")) << os::to_utf8(name);
        const std::wstring hex = file.substr(3, file.size() - 7);
        EXPECT_TRUE(!hex.empty() && hex.size() <= 4 && hex[0] != L'0' &&
                    hex.find_first_not_of(L"0123456789ABCDEF") == std::wstring::npos)
            << os::to_utf8(name);
        EXPECT_EQ(qv_test::read_host_file(machine.drive_c("ProgramData") / os::to_utf8(file)), "");
    }
    EXPECT_EQ(os::temporary_file_name(L"C:\\missing", L"tmp").error(),
              code(win32_error::directory));
}

TEST_F(files_temporary, processes_at_once_never_get_the_same_name) {
    constexpr int processes = 4;
    constexpr int names_each = 300;
    const fs::path lists = machine.root().parent_path();
    std::vector<std::unique_ptr<qv_test::background_child>> children;
    for (int i = 0; i < processes; ++i)
        children.push_back(std::make_unique<qv_test::background_child>([i, &lists] {
            std::ofstream list(lists / ("names-" + std::to_string(i)));
            for (int n = 0; n < names_each; ++n) {
                auto name = os::temporary_file_name(L"C:\\ProgramData", L"par");
                if (!name)
                    return 1;
                list << os::to_utf8(*name) << '\n';
            }
            return list.good() ? 0 : 2;
        }));
    for (auto& child : children)
        EXPECT_EQ(child->join(), 0);

    std::set<std::string> names;
    for (int i = 0; i < processes; ++i) {
        std::ifstream list(lists / ("names-" + std::to_string(i)));
        for (std::string name; std::getline(list, name);) {
            EXPECT_TRUE(names.insert(name).second) << "given twice: " << name;
            EXPECT_TRUE(os::path_exists(os::from_utf8(name))) << name;
        }
    }
    EXPECT_EQ(names.size(), std::size_t{processes * names_each});
}

} // namespace
