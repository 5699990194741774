#include "platform/os/shell_path.h"

#include "platform/os/full_path.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

constexpr std::uint32_t folder = 0x10;
constexpr std::uint32_t file = 0x80;

std::string shown(std::wstring_view text) {
    return os::to_utf8(text);
}

// "C:\" followed by enough "a" to make a path of the given length.
std::wstring drive_path_of_length(std::size_t length) {
    return L"C:\\" + std::wstring(length - 3, L'a');
}

struct text_case {
    const wchar_t* input;
    const wchar_t* expected;
};

struct changing_case {
    const wchar_t* input;
    const wchar_t* expected;
    bool result;
};

TEST(path_find_file_name, stops_at_backslash_slash_and_colon_but_not_a_trailing_separator) {
    const text_case cases[] = {
        {L"C:\\a\\b.txt", L"b.txt"},
        {L"C:\\a\\", L"a\\"},
        {L"C:\\", L"C:\\"},
        {L"C:", L"C:"},
        {L"C:a", L"a"},
        {L"dir/file", L"file"},
        {L"\\\\server\\share", L"share"},
        {L"name", L"name"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        const std::wstring_view path = c.input;
        EXPECT_EQ(path.substr(os::path_find_file_name(path)), c.expected) << shown(path);
    }
}

TEST(path_find_extension, last_dot_of_the_last_component_without_blanks) {
    const text_case cases[] = {
        {L"file.txt", L".txt"},
        {L"archive.tar.gz", L".gz"},
        {L"C:\\dir.d\\file", L""},
        {L"file", L""},
        {L".profile", L".profile"},
        {L"name.", L"."},
        {L"a.b c", L""},
        // '/' is an ordinary character here.
        {L"a.b/c", L".b/c"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        const std::wstring_view path = c.input;
        EXPECT_EQ(path.substr(os::path_find_extension(path)), c.expected) << shown(path);
    }
}

TEST(path_remove_extension, cuts_at_the_extension) {
    const text_case cases[] = {
        {L"C:\\a\\file.txt", L"C:\\a\\file"},
        {L"C:\\dir.d\\file", L"C:\\dir.d\\file"},
        {L".profile", L""},
        {L"Program Files\\a b.c d", L"Program Files\\a b.c d"},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        os::path_remove_extension(path);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_remove_file_spec, removes_the_last_component_but_keeps_roots) {
    const changing_case cases[] = {
        {L"C:\\TEST\\sample.txt", L"C:\\TEST", true},
        {L"C:\\a", L"C:\\", true},
        {L"C:\\", L"C:\\", false},
        {L"C:\\a\\", L"C:\\a", true},
        {L"C:a", L"C:", true},
        {L"C:", L"C:", false},
        {L"\\a", L"\\", true},
        {L"\\", L"\\", false},
        {L"a", L"", true},
        {L"a\\b", L"a", true},
        {L"a/b", L"", true},
        {L"\\\\server\\share\\a", L"\\\\server\\share", true},
        {L"\\\\server\\share", L"\\\\server", true},
        {L"", L"", false},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        EXPECT_EQ(os::path_remove_file_spec(path), c.result) << shown(c.input);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_strip_to_root, leaves_the_root_and_tells_whether_there_is_one) {
    const changing_case cases[] = {
        {L"C:\\path1\\path2", L"C:\\", true},
        {L"C:\\", L"C:\\", true},
        {L"\\a\\b", L"\\", true},
        {L"\\\\server\\share\\a\\b", L"\\\\server\\share", true},
        {L"\\\\server\\share\\", L"\\\\server\\share", true},
        {L"C:a\\b", L"C:", false},
        {L"a\\b", L"", false},
        {L"", L"", false},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        EXPECT_EQ(os::path_strip_to_root(path), c.result) << shown(c.input);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_kind_queries, root_relative_and_unc) {
    struct kind_case {
        const wchar_t* path;
        bool root;
        bool relative;
        bool unc;
    };
    const kind_case cases[] = {
        {L"C:\\", true, false, false},
        {L"C:\\a", false, false, false},
        {L"C:", false, false, false},
        // Drive-relative and rooted paths count as not relative.
        {L"C:a", false, false, false},
        {L"\\", true, false, false},
        {L"\\a", false, false, false},
        {L"\\\\server", true, false, true},
        {L"\\\\server\\share", true, false, true},
        {L"\\\\server\\", false, false, true},
        {L"\\\\server\\share\\", false, false, true},
        {L"\\\\server\\share\\a", false, false, true},
        {L"\\\\?\\UNC\\server\\share", false, false, true},
        {L"\\\\?\\C:\\a", false, false, false},
        {L"a\\b", false, true, false},
        {L"..\\a", false, true, false},
        // '/' does not separate, so these are relative names.
        {L"/a", false, true, false},
        {L"//server/share", false, true, false},
        {L"", false, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::path_is_root(c.path), c.root) << shown(c.path);
        EXPECT_EQ(os::path_is_relative(c.path), c.relative) << shown(c.path);
        EXPECT_EQ(os::path_is_unc(c.path), c.unc) << shown(c.path);
    }
}

TEST(path_add_backslash, adds_one_unless_present_or_empty) {
    const changing_case cases[] = {
        {L"C:\\a", L"C:\\a\\", true},
        {L"C:\\a\\", L"C:\\a\\", true},
        {L"C:", L"C:\\", true},
        {L"a/", L"a/\\", true},
        {L"", L"", true},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        EXPECT_EQ(os::path_add_backslash(path), c.result) << shown(c.input);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_add_backslash, fails_when_the_result_would_not_fit_max_path) {
    // 259 units and the NUL fill the 260-unit buffer.
    std::wstring fits = drive_path_of_length(258);
    EXPECT_TRUE(os::path_add_backslash(fits));
    EXPECT_EQ(fits.size(), 259u);
    EXPECT_TRUE(os::path_add_backslash(fits));
    EXPECT_EQ(fits.size(), 259u);

    const std::wstring full = drive_path_of_length(259);
    std::wstring path = full;
    EXPECT_FALSE(os::path_add_backslash(path));
    EXPECT_EQ(path, full);

    const std::wstring too_long = drive_path_of_length(299) + L"\\";
    path = too_long;
    EXPECT_FALSE(os::path_add_backslash(path));
    EXPECT_EQ(path, too_long);
}

TEST(path_remove_backslash, removes_one_unless_root) {
    const text_case cases[] = {
        {L"C:\\a\\", L"C:\\a"}, {L"C:\\a\\\\", L"C:\\a\\"},
        {L"C:\\a", L"C:\\a"},   {L"C:\\", L"C:\\"},
        {L"\\", L"\\"},         {L"\\\\server\\share\\", L"\\\\server\\share"},
        {L"a/", L"a/"},         {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        os::path_remove_backslash(path);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_quote_spaces, quotes_paths_with_blanks) {
    const changing_case cases[] = {
        {L"C:\\Program Files\\app.exe", L"\"C:\\Program Files\\app.exe\"", true},
        {L"C:\\a\\app.exe", L"C:\\a\\app.exe", false},
        {L"a\tb", L"a\tb", false},
        {L"", L"", false},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        EXPECT_EQ(os::path_quote_spaces(path), c.result) << shown(c.input);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_quote_spaces, leaves_a_path_whose_quoted_form_would_not_fit_max_path) {
    std::wstring fits = L"C:\\a b" + std::wstring(251, L'x');
    ASSERT_EQ(fits.size(), 257u);
    EXPECT_TRUE(os::path_quote_spaces(fits));
    EXPECT_EQ(fits.size(), 259u);

    const std::wstring too_long = L"C:\\a b" + std::wstring(252, L'x');
    std::wstring path = too_long;
    EXPECT_FALSE(os::path_quote_spaces(path));
    EXPECT_EQ(path, too_long);
}

TEST(path_unquote_spaces, removes_enclosing_quotes_only) {
    const text_case cases[] = {
        {L"\"C:\\Program Files\\app.exe\"", L"C:\\Program Files\\app.exe"},
        {L"\"a", L"\"a"},
        {L"a\"", L"a\""},
        {L"a \"b\" c", L"a \"b\" c"},
        {L"\"\"", L""},
        {L"\"", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        os::path_unquote_spaces(path);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_remove_blanks, trims_leading_and_trailing_blanks_only) {
    const text_case cases[] = {
        {L"  C:\\a b\\c  ", L"C:\\a b\\c"},
        {L"C:\\a", L"C:\\a"},
        {L"\tC:\\a\t", L"\tC:\\a\t"},
        {L"   ", L""},
        {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring path = c.input;
        os::path_remove_blanks(path);
        EXPECT_EQ(path, c.expected) << shown(c.input);
    }
}

TEST(path_canonicalize, resolves_dots_as_windows_does) {
    const text_case cases[] = {
        {L"A:\\name_1\\.\\name_2\\..\\name_3", L"A:\\name_1\\name_3"},
        {L"A:\\name_1\\..\\name_2\\.\\name_3", L"A:\\name_2\\name_3"},
        {L"A:\\name_1\\name_2\\.\\name_3\\..\\name_4", L"A:\\name_1\\name_2\\name_4"},
        {L"A:\\name_1\\.\\name_2\\.\\name_3\\..\\name_4\\..", L"A:\\name_1\\name_2"},
        {L"C:\\..", L"C:\\"},
        {L"C:\\..\\..\\a", L"C:\\a"},
        {L"C:\\", L"C:\\"},
        {L"C:\\a\\", L"C:\\a\\"},
        {L"C:\\a\\.\\", L"C:\\a\\"},
        {L"C:\\a\\.", L"C:\\a"},
        {L"C:\\a\\b\\..\\", L"C:\\a\\"},
        {L"C:\\...", L"C:\\..."},
        {L"C:/a/../b", L"C:/a/../b"},
        {L"\\..\\a", L"\\a"},
        {L"\\\\server\\share\\a\\..\\..\\b", L"\\\\server\\share\\b"},
        {L".\\a", L"a"},
        {L"a\\..", L""},
        // A relative path cannot climb above its start: the ".." goes, its separator stays.
        {L"..\\a", L"\\a"},
        {L"C:..\\a", L"C:\\a"},
        {L"", L"\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_canonicalize(c.input), std::optional<std::wstring>(c.expected))
            << shown(c.input);
}

TEST(path_canonicalize, takes_only_paths_that_fit_max_path) {
    const std::wstring longest = drive_path_of_length(259);
    EXPECT_EQ(os::path_canonicalize(longest), longest);
    EXPECT_EQ(os::path_canonicalize(drive_path_of_length(260)), std::nullopt);
    // Too long as given even though the result would be short.
    EXPECT_EQ(os::path_canonicalize(drive_path_of_length(270) + L"\\.."), std::nullopt);
}

TEST(path_combine, joins_and_canonicalizes) {
    struct combine_case {
        const wchar_t* directory;
        const wchar_t* file;
        const wchar_t* expected;
    };
    const combine_case cases[] = {
        {L"C:", L"One\\Two\\Three", L"C:\\One\\Two\\Three"},
        {L"C:\\a", L"b", L"C:\\a\\b"},
        {L"C:\\a\\", L"b", L"C:\\a\\b"},
        {L"C:\\a", L"..\\b", L"C:\\b"},
        {L"C:\\a", L".\\b\\.", L"C:\\a\\b"},
        {L"C:\\a", L"b/c", L"C:\\a\\b/c"},
        {L"C:\\a\\b", L"\\x", L"C:\\x"},
        {L"\\\\server\\share\\a", L"\\x", L"\\\\server\\share\\x"},
        {L"C:\\a", L"D:\\x", L"D:\\x"},
        {L"C:\\a", L"D:x", L"D:x"},
        {L"C:\\a", L"\\\\server\\x", L"\\\\server\\x"},
        {L"C:\\a\\.", L"", L"C:\\a"},
        {L"", L"x\\..\\y", L"y"},
        {L"", L"", L"\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_combine(c.directory, c.file), std::optional<std::wstring>(c.expected))
            << shown(c.directory) << " + " << shown(c.file);
}

TEST(path_combine, fails_when_the_joined_path_does_not_fit_max_path) {
    const std::wstring directory = drive_path_of_length(200);
    // 200 + '\' + 58 = 259 units.
    const std::wstring fitting_file(58, L'f');
    EXPECT_EQ(os::path_combine(directory, fitting_file), directory + L"\\" + fitting_file);
    EXPECT_EQ(os::path_combine(directory, fitting_file + L"f"), std::nullopt);
    // The joined text is limited before ".." shortens it.
    EXPECT_EQ(os::path_combine(directory, L"..\\" + std::wstring(56, L'f')), std::nullopt);
    EXPECT_EQ(os::path_combine(drive_path_of_length(260), L"x"), std::nullopt);
    EXPECT_EQ(os::path_combine(L"C:\\", drive_path_of_length(260)), std::nullopt);
}

TEST(path_append, joins_more_below_path) {
    struct append_case {
        const wchar_t* path;
        const wchar_t* more;
        const wchar_t* expected;
    };
    const append_case cases[] = {
        {L"name_1\\name_2", L"name_3", L"name_1\\name_2\\name_3"},
        {L"C:\\a", L"\\b", L"C:\\a\\b"},
        {L"C:\\a", L"b\\..\\c", L"C:\\a\\c"},
        {L"C:\\a", L"D:\\b", L"D:\\b"},
        {L"C:\\a", L"\\\\server\\share", L"\\\\server\\share"},
        {L"C:\\a", L"", L"C:\\a"},
        {L"", L"b", L"b"},
        // The leading ".." of a relative path is lost, making it rooted.
        {L"..\\path1\\path2", L"path3", L"\\path1\\path2\\path3"},
    };
    for (const auto& c : cases) {
        std::wstring path = c.path;
        EXPECT_TRUE(os::path_append(path, c.more)) << shown(c.path) << " + " << shown(c.more);
        EXPECT_EQ(path, c.expected) << shown(c.path) << " + " << shown(c.more);
    }
}

TEST(path_append, leaves_path_unchanged_when_the_result_would_not_fit) {
    const std::wstring original = drive_path_of_length(250);
    std::wstring path = original;
    EXPECT_FALSE(os::path_append(path, std::wstring(9, L'x')));
    EXPECT_EQ(path, original);
    EXPECT_TRUE(os::path_append(path, std::wstring(8, L'x')));
    EXPECT_EQ(path.size(), 259u);
}

TEST(path_relative_path_to, walks_up_from_the_common_folder) {
    struct relative_case {
        const wchar_t* from;
        std::uint32_t from_attributes;
        const wchar_t* to;
        std::uint32_t to_attributes;
        std::optional<std::wstring> expected;
    };
    const relative_case cases[] = {
        {L"c:\\a\\b\\path", folder, L"c:\\a\\x\\y\\file", file, L"..\\..\\x\\y\\file"},
        {L"C:\\a\\b\\setup.exe", file, L"C:\\a\\c\\data.bin", file, L"..\\c\\data.bin"},
        {L"C:\\a", folder, L"c:\\A\\b\\c", file, L".\\b\\c"},
        {L"C:\\a\\", folder, L"C:\\a\\b", file, L".\\b"},
        {L"C:\\", folder, L"C:\\x", file, L".\\x"},
        {L"C:\\a", folder, L"C:\\a", folder, L"."},
        {L"C:\\a\\b", folder, L"C:\\", folder, L"..\\.."},
        // The file "C:\a\b" is not the folder "C:\a\b".
        {L"C:\\a\\b\\c", folder, L"C:\\a\\b", folder, L".."},
        {L"C:\\a\\b\\c", folder, L"C:\\a\\b", file, L"..\\..\\b"},
        {L"\\\\server\\share\\a", folder, L"\\\\server\\share\\b", folder, L"..\\b"},
        {L"a\\b", folder, L"a\\c", file, L"..\\c"},
        {L"C:\\a", folder, L"D:\\a", file, std::nullopt},
        {L"\\\\one\\share", folder, L"\\\\two\\share", folder, std::nullopt},
        {L"a", folder, L"b", file, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_relative_path_to(c.from, c.from_attributes, c.to, c.to_attributes),
                  c.expected)
            << shown(c.from) << " -> " << shown(c.to);
}

TEST(path_relative_path_to, fails_when_a_path_or_the_result_does_not_fit_max_path) {
    const std::wstring deep = L"C:\\" + [] {
        std::wstring folders;
        for (int i = 0; i < 64; ++i)
            folders += L"d\\";
        return folders;
    }() + L"e";
    ASSERT_LT(deep.size(), os::max_path);
    const std::wstring target = L"C:\\" + std::wstring(100, L't');
    // 65 levels of "..\" and the 100-unit name do not fit.
    EXPECT_EQ(os::path_relative_path_to(deep, folder, target, file), std::nullopt);
    EXPECT_EQ(os::path_relative_path_to(deep, folder, L"C:\\t", file)->size(), 65u * 3 + 1);
    EXPECT_EQ(os::path_relative_path_to(drive_path_of_length(260), folder, L"C:\\t", file),
              std::nullopt);
}

TEST(path_common_prefix, counts_whole_shared_components_without_case) {
    struct prefix_case {
        const wchar_t* a;
        const wchar_t* b;
        const wchar_t* prefix;
    };
    const prefix_case cases[] = {
        {L"C:\\win\\desktop\\temp.txt", L"c:\\win\\tray\\sample.txt", L"C:\\win"},
        {L"C:\\a", L"C:\\b", L"C:\\"},
        {L"C:\\", L"C:\\", L"C:\\"},
        {L"C:\\ab", L"C:\\abc", L"C:\\"},
        {L"C:\\a", L"c:\\A\\b", L"C:\\a"},
        {L"C:\\a\\", L"C:\\a\\", L"C:\\a"},
        {L"C:\\a", L"D:\\a", L""},
        {L"C:/a", L"C:/b", L""},
        {L"\\a", L"\\b", L"\\"},
        {L"\\\\s\\a", L"\\\\S\\b", L"\\\\s"},
        {L"\\\\s1\\a", L"\\\\s2\\a", L""},
        {L"a\\b", L"a\\c", L"a"},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring prefix = L"unchanged";
        EXPECT_EQ(os::path_common_prefix(c.a, c.b, &prefix), std::wstring_view(c.prefix).size())
            << shown(c.a) << " ~ " << shown(c.b);
        EXPECT_EQ(prefix, c.prefix) << shown(c.a) << " ~ " << shown(c.b);
        EXPECT_EQ(os::path_common_prefix(c.b, c.a), std::wstring_view(c.prefix).size());
    }
}

TEST(path_get_char_type, classifies_characters) {
    struct char_case {
        wchar_t c;
        std::uint32_t type;
    };
    const std::uint32_t both = os::gct::lfn_char | os::gct::short_char;
    const char_case cases[] = {
        {L'\0', os::gct::invalid},
        {L'\t', os::gct::invalid},
        {L'\x1f', os::gct::invalid},
        {L'"', os::gct::invalid},
        {L'<', os::gct::invalid},
        {L'>', os::gct::invalid},
        {L'|', os::gct::invalid},
        {L'*', os::gct::wild},
        {L'?', os::gct::wild},
        {L'\\', os::gct::separator},
        {L'/', os::gct::separator},
        {L':', os::gct::separator},
        {L' ', os::gct::lfn_char},
        {L';', os::gct::lfn_char},
        {L',', os::gct::lfn_char},
        {L'+', os::gct::lfn_char},
        {L'=', os::gct::lfn_char},
        {L'[', os::gct::lfn_char},
        {L']', os::gct::lfn_char},
        {L'a', both},
        {L'Z', both},
        {L'0', both},
        {L'.', both},
        {L'_', both},
        {L'~', both},
        {L'$', both},
        {L'\u00e9', both},
        {L'\u4e2d', both},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_get_char_type(c.c), c.type) << static_cast<std::uint32_t>(c.c);
}

TEST(path_search_and_qualify, qualifies_against_the_current_directory) {
    qv_test::temp_machine machine;
    ASSERT_FALSE(os::set_current_directory(L"C:\\users\\Public"));
    const text_case cases[] = {
        {L"setup.log", L"C:\\users\\Public\\setup.log"},
        {L"..\\x", L"C:\\users\\x"},
        {L"\\x", L"C:\\x"},
        {L"C:\\a\\.\\b\\..\\c", L"C:\\a\\c"},
        {L"C:/a/b", L"C:\\a\\b"},
        {L"\\\\server\\share\\x", L"\\\\server\\share\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::path_search_and_qualify(c.input), std::optional<std::wstring>(c.expected))
            << shown(c.input);
    EXPECT_EQ(os::path_search_and_qualify(L""), std::nullopt);
}

TEST(path_search_and_qualify, fails_when_the_qualified_path_does_not_fit_max_path) {
    qv_test::temp_machine machine;
    ASSERT_FALSE(os::set_current_directory(L"C:\\users\\Public"));
    const std::wstring longest = drive_path_of_length(259);
    EXPECT_EQ(os::path_search_and_qualify(longest), longest);
    EXPECT_EQ(os::path_search_and_qualify(drive_path_of_length(260)), std::nullopt);
    // Short as given, too long once the current directory is in front.
    const std::wstring name(250, L'n');
    EXPECT_EQ(os::path_search_and_qualify(name), std::nullopt);
}

class machine_paths : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(machine_.drive_c("Data/Sub"));
        qv_test::write_host_file(machine_.drive_c("Data/file.txt"), "x");
    }

    qv_test::temp_machine machine_;
};

TEST_F(machine_paths, tell_folders_files_and_missing_paths_apart) {
    struct machine_case {
        const wchar_t* path;
        bool directory;
        bool exists;
    };
    const machine_case cases[] = {
        {L"C:\\", true, true},
        {L"C:\\Data", true, true},
        {L"c:\\DATA\\sub\\", true, true},
        {L"C:/Data/Sub", true, true},
        {L"C:\\Data\\file.txt", false, true},
        {L"C:\\DATA\\FILE.TXT", false, true},
        {L"C:\\Data\\file.txt\\", false, false},
        {L"C:\\Data\\missing", false, false},
        {L"C:\\Data\\missing\\file.txt", false, false},
        {L"C:\\Data\\*", false, false},
        {L"Q:\\", false, false},
        {L"\\\\server\\share", false, false},
        {L"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(os::path_is_directory(c.path), c.directory) << shown(c.path);
        EXPECT_EQ(os::path_file_exists(c.path), c.exists) << shown(c.path);
    }
}

TEST_F(machine_paths, take_relative_paths_against_the_current_directory) {
    ASSERT_FALSE(os::set_current_directory(L"C:\\Data"));
    EXPECT_TRUE(os::path_is_directory(L"Sub"));
    EXPECT_TRUE(os::path_file_exists(L"file.txt"));
    EXPECT_TRUE(os::path_file_exists(L"..\\Data\\file.txt"));
    EXPECT_FALSE(os::path_file_exists(L"other.txt"));
}

} // namespace
