#include "platform/os/full_path.h"

#include "platform/os/unicode.h"

#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

struct full_path_case {
    const wchar_t* path;
    const wchar_t* current;
    const wchar_t* expected;
};

void PrintTo(const full_path_case& c, std::ostream* out) {
    *out << platform::os::to_utf8(c.path) << " in " << platform::os::to_utf8(c.current);
}

class full_path_name_test : public testing::TestWithParam<full_path_case> {};

TEST_P(full_path_name_test, matches_windows) {
    const auto& c = GetParam();
    EXPECT_EQ(os::full_path_name(c.path, c.current), c.expected) << "path: " << c.path;
}

INSTANTIATE_TEST_SUITE_P(
    cases, full_path_name_test,
    testing::Values(full_path_case{L"C:\\", L"D:\\x", L"C:\\"},
                    full_path_case{L"C:\\a\\b", L"D:\\x", L"C:\\a\\b"},
                    full_path_case{L"C:/a/b", L"D:\\x", L"C:\\a\\b"},
                    full_path_case{L"C:\\a\\\\b\\", L"D:\\x", L"C:\\a\\b\\"},
                    full_path_case{L"C:\\a\\.\\b\\..\\c", L"D:\\x", L"C:\\a\\c"},
                    full_path_case{L"C:\\..\\..", L"D:\\x", L"C:\\"},
                    full_path_case{L"C:\\a\\..", L"D:\\x", L"C:\\"},
                    full_path_case{L"C:\\name. ", L"D:\\x", L"C:\\name"},
                    full_path_case{L"C:\\dir.\\file", L"D:\\x", L"C:\\dir\\file"},
                    full_path_case{L"C:\\dir \\", L"D:\\x", L"C:\\dir \\"},
                    full_path_case{L"file.txt", L"C:\\work", L"C:\\work\\file.txt"},
                    full_path_case{L".", L"C:\\work", L"C:\\work"},
                    full_path_case{L"..\\other", L"C:\\work\\sub", L"C:\\work\\other"},
                    full_path_case{L"\\rooted", L"D:\\work\\sub", L"D:\\rooted"},
                    full_path_case{L"C:", L"C:\\work", L"C:\\work"},
                    full_path_case{L"C:rel", L"C:\\work", L"C:\\work\\rel"},
                    full_path_case{L"D:rel", L"C:\\work", L"D:\\rel"},
                    full_path_case{L"\\\\server\\share\\a\\..\\b", L"C:\\",
                                   L"\\\\server\\share\\b"},
                    full_path_case{L"\\\\?\\C:\\a\\..\\b", L"C:\\", L"\\\\?\\C:\\a\\..\\b"}));

TEST(classify_path, kinds) {
    EXPECT_EQ(os::classify_path(L"C:\\x"), os::path_kind::drive_absolute);
    EXPECT_EQ(os::classify_path(L"C:x"), os::path_kind::drive_relative);
    EXPECT_EQ(os::classify_path(L"\\x"), os::path_kind::rooted);
    EXPECT_EQ(os::classify_path(L"x"), os::path_kind::relative);
    EXPECT_EQ(os::classify_path(L"\\\\s\\x"), os::path_kind::unc);
    EXPECT_EQ(os::classify_path(L"\\\\?\\C:\\x"), os::path_kind::verbatim);
    EXPECT_EQ(os::classify_path(L"\\\\.\\pipe"), os::path_kind::local_device);
}

} // namespace
