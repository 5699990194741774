#include "wizard/subfolder_proposal.h"

#include <gtest/gtest.h>

namespace {

TEST(subfolder_proposal, names_with_invalid_characters_or_wildcards_are_ignored) {
    const struct {
        std::wstring name;
        std::wstring expected;
    } cases[] = {
        {L"Varnolis 2", L"Varnolis 2"},
        {L"Quorvane\\Varnolis 2", L"Quorvane\\Varnolis 2"},
        {L"Varnolis 2...", L"Varnolis 2"},
        {L"Var*nolis", L""},
        {L"Varnolis?", L""},
        {L"Var|nolis", L""},
        {L"Var\"nolis", L""},
        {L"Var\tnolis", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::accepted_subfolder(c.name), c.expected) << c.name;
}

TEST(subfolder_proposal, appends_what_the_path_does_not_already_end_with) {
    const struct {
        std::wstring path;
        std::wstring subfolder;
        std::wstring expected;
    } cases[] = {
        {L"D:\\Apps", L"Varnolis 2", L"D:\\Apps\\Varnolis 2"},
        {L"D:\\Apps\\Varnolis 2", L"Varnolis 2", L"D:\\Apps\\Varnolis 2"},
        {L"D:\\apps\\VARNOLIS 2", L"Varnolis 2", L"D:\\apps\\VARNOLIS 2"},
        {L"D:\\", L"Varnolis 2", L"D:\\Varnolis 2"},
        {L"D:\\Apps\\Quorvane", L"Quorvane\\Varnolis 2", L"D:\\Apps\\Quorvane\\Varnolis 2"},
        {L"D:\\Quorvane\\Varnolis 2", L"Quorvane\\Varnolis 2", L"D:\\Quorvane\\Varnolis 2"},
        {L"D:\\A\\B", L"A\\B\\C", L"D:\\A\\B\\C"},
        // Only the subfolder's leading components overlap, never a later one.
        {L"D:\\Varnolis 2", L"Quorvane\\Varnolis 2", L"D:\\Varnolis 2\\Quorvane\\Varnolis 2"},
        {L"D:\\Apps\\Varnolis", L"Varnolis 2", L"D:\\Apps\\Varnolis\\Varnolis 2"},
        {L"D:\\Apps\\Varnolis 2", L"Varnolis 2\\", L"D:\\Apps\\Varnolis 2"},
        // The drive or share never matches.
        {L"\\\\server\\share", L"share", L"\\\\server\\share\\share"},
        {L"D:\\Apps", L"", L"D:\\Apps"},
    };
    for (const auto& c : cases) {
        std::wstring path = c.path;
        qv::append_subfolder(path, c.subfolder);
        EXPECT_EQ(path, c.expected) << c.path << L" + " << c.subfolder;
    }
}

TEST(subfolder_proposal, a_result_beyond_max_path_leaves_the_path_unchanged) {
    const std::wstring fits = L"D:\\" + std::wstring(244, L'a'); // 247 + "\Varnolis 2" = 258
    std::wstring path = fits;
    qv::append_subfolder(path, L"Varnolis 2");
    EXPECT_EQ(path, fits + L"\\Varnolis 2");

    const std::wstring too_long = L"D:\\" + std::wstring(246, L'a'); // 249 + 11 = 260
    path = too_long;
    qv::append_subfolder(path, L"Varnolis 2");
    EXPECT_EQ(path, too_long);
}

} // namespace
