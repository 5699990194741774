#include "platform/os/windows_path.h"

#include "platform/os/unicode.h"

#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

std::string shown(std::wstring_view text) {
    return os::to_utf8(text);
}

TEST(path_elements, root_name_root_directory_then_names) {
    struct elements_case {
        const wchar_t* path;
        std::vector<std::wstring> elements;
    };
    const elements_case cases[] = {
        {L"C:\\a\\b\\", {L"C:", L"\\", L"a", L"b", L""}},
        {L"C:\\a\\b", {L"C:", L"\\", L"a", L"b"}},
        {L"C:/a//b", {L"C:", L"/", L"a", L"b"}},
        {L"C:\\\\a", {L"C:", L"\\\\", L"a"}},
        {L"C:", {L"C:"}},
        {L"C:x", {L"C:", L"x"}},
        {L"\\x", {L"\\", L"x"}},
        {L"\\\\server\\share\\x", {L"\\\\server", L"\\", L"share", L"x"}},
        {L"//server/share", {L"//server", L"/", L"share"}},
        {L"\\\\server", {L"\\\\server"}},
        {L"\\\\?\\C:\\x", {L"\\\\?", L"\\", L"C:", L"x"}},
        // Three separators start no server name.
        {L"\\\\\\x", {L"\\\\\\", L"x"}},
        {L"..\\a", {L"..", L"a"}},
        {L"a\\\\", {L"a", L""}},
        {L"1:x", {L"1:x"}},
        {L"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_elements(c.path), c.elements) << shown(c.path);
}

TEST(path_decomposition, root_filename_and_parent) {
    struct decomposition_case {
        const wchar_t* path;
        const wchar_t* root_name;
        bool root_directory;
        bool absolute;
        const wchar_t* filename;
        const wchar_t* parent;
        const wchar_t* dropped;
    };
    const decomposition_case cases[] = {
        {L"C:\\a\\b", L"C:", true, true, L"b", L"C:\\a", L"C:\\a"},
        {L"C:\\a\\b\\", L"C:", true, true, L"", L"C:\\a\\b", L"C:\\a\\b"},
        {L"C:\\a", L"C:", true, true, L"a", L"C:\\", L"C:\\"},
        {L"C:\\", L"C:", true, true, L"", L"C:\\", L"C:\\"},
        {L"C:/a//b", L"C:", true, true, L"b", L"C:/a", L"C:/a"},
        {L"C:\\a\\\\", L"C:", true, true, L"", L"C:\\a", L"C:\\a"},
        {L"C:", L"C:", false, false, L"", L"C:", L""},
        {L"C:x", L"C:", false, false, L"x", L"C:", L""},
        {L"C:x\\y", L"C:", false, false, L"y", L"C:x", L"C:x"},
        {L"\\x", L"", true, false, L"x", L"\\", L"\\"},
        {L"\\", L"", true, false, L"", L"\\", L"\\"},
        {L"\\\\server\\share\\x", L"\\\\server", true, true, L"x", L"\\\\server\\share",
         L"\\\\server\\share"},
        {L"\\\\server\\share", L"\\\\server", true, true, L"share", L"\\\\server\\",
         L"\\\\server\\"},
        {L"\\\\server", L"\\\\server", false, true, L"", L"\\\\server", L"\\\\server"},
        {L"\\\\?\\C:\\x", L"\\\\?", true, true, L"x", L"\\\\?\\C:", L"\\\\?\\C:"},
        {L"a\\b", L"", false, false, L"b", L"a", L"a"},
        {L"a/b\\c", L"", false, false, L"c", L"a/b", L"a/b"},
        {L"a", L"", false, false, L"a", L"", L""},
        {L"a\\", L"", false, false, L"", L"a", L"a"},
        {L"..", L"", false, false, L"..", L"", L""},
        {L"1:x", L"", false, false, L"1:x", L"", L""},
        {L"", L"", false, false, L"", L"", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::path_root_name(c.path), c.root_name) << shown(c.path);
        EXPECT_EQ(os::path_has_root_directory(c.path), c.root_directory) << shown(c.path);
        EXPECT_EQ(os::path_is_absolute(c.path), c.absolute) << shown(c.path);
        EXPECT_EQ(os::path_filename(c.path), c.filename) << shown(c.path);
        EXPECT_EQ(os::path_parent(c.path), c.parent) << shown(c.path);
        EXPECT_EQ(os::drop_last_component(c.path), c.dropped) << shown(c.path);
    }
}

TEST(path_stem, file_name_without_extension) {
    struct stem_case {
        const wchar_t* path;
        const wchar_t* stem;
    };
    const stem_case cases[] = {
        {L"a.txt", L"a"},
        {L"C:\\dir\\archive.tar.gz", L"archive.tar"},
        {L"C:\\x.y\\z", L"z"},
        {L"C:/x.y/z.w", L"z"},
        {L".profile", L".profile"},
        {L"..", L".."},
        {L".", L"."},
        {L"...", L".."},
        {L"a.", L"a"},
        {L"a", L"a"},
        {L"file.txt:stream", L"file"},
        {L"C:\\a.b\\", L""},
        {L"C:", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_stem(c.path), c.stem) << shown(c.path);
}

TEST(path_join, follows_the_windows_append_rules) {
    struct join_case {
        const wchar_t* base;
        const wchar_t* more;
        const wchar_t* joined;
    };
    const join_case cases[] = {
        {L"C:", L"x", L"C:x"},
        {L"C:\\a", L"D:", L"D:"},
        {L"C:\\a", L"\\b", L"C:\\b"},
        {L"a", L"C:\\b", L"C:\\b"},
        {L"C:\\a", L"", L"C:\\a\\"},
        {L"C:\\a", L"b", L"C:\\a\\b"},
        {L"C:\\a\\", L"b", L"C:\\a\\b"},
        {L"C:\\a/", L"b", L"C:\\a/b"},
        {L"C:\\", L"b", L"C:\\b"},
        {L"C:\\a", L"C:", L"C:\\a\\"},
        {L"C:a", L"C:b", L"C:a\\b"},
        {L"C:a", L"\\b", L"C:\\b"},
        {L"C:\\a", L"D:b", L"D:b"},
        {L"\\\\server", L"x", L"\\\\server\\x"},
        {L"\\\\server\\share", L"\\x", L"\\\\server\\x"},
        {L"a", L"\\\\server\\x", L"\\\\server\\x"},
        {L"\\x", L"y", L"\\x\\y"},
        {L"a", L"b", L"a\\b"},
        {L"", L"b", L"b"},
        {L"", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_join(c.base, c.more), c.joined)
            << shown(c.base) << " / " << shown(c.more);
}

TEST(join_with_separator, inserts_one_backslash_where_needed) {
    struct join_case {
        const wchar_t* folder;
        const wchar_t* name;
        const wchar_t* joined;
    };
    const join_case cases[] = {
        {L"C:\\a", L"b", L"C:\\a\\b"},
        {L"C:\\a\\", L"b", L"C:\\a\\b"},
        {L"C:/a/", L"b", L"C:/a/b"},
        {L"C:", L"b", L"C:\\b"},
        {L"a", L"", L"a\\"},
        {L"", L"b", L"b"},
        {L"", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::join_with_separator(c.folder, c.name), c.joined)
            << shown(c.folder) << " + " << shown(c.name);
}

} // namespace
