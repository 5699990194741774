#include "platform/os/error.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

TEST(error_text, system_texts_of_the_codes_the_installer_shows) {
    const std::pair<std::uint32_t, const wchar_t*> cases[] = {
        {2, L"The system cannot find the file specified."},
        {3, L"The system cannot find the path specified."},
        {5, L"Access is denied."},
        {32, L"The process cannot access the file because it is being used by another process."},
        {80, L"The file exists."},
        {112, L"There is not enough space on the disk."},
        {161, L"The specified path is invalid."},
        {170, L"The requested resource is in use."},
        {183, L"Cannot create a file when that file already exists."},
        {206, L"The filename or extension is too long."},
        {1815, L"The specified resource language ID cannot be found in the image file."},
        {0x80004005u, L"Unspecified error"},
        {0x8000FFFFu, L"Catastrophic failure"},
        {0x80004001u, L"Not implemented"},
        {0x8007000Eu, L"Not enough memory resources are available to complete this operation."},
        {0x800700CEu, L"The filename or extension is too long."},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(os::error_text(code), text) << std::hex << code;
}

TEST(error_text, unknown_code_falls_back_to_the_text_of_e_fail) {
    EXPECT_EQ(os::error_text(0x12345678u), L"Unspecified error");
}

TEST(format_system_message, keeps_the_line_break_and_reports_missing_texts) {
    auto found = os::format_system_message(5);
    ASSERT_TRUE(found.text);
    EXPECT_EQ(*found.text, L"Access is denied.\r\n");
    EXPECT_EQ(os::format_system_message(5, 0x0409).text, found.text);

    auto unknown = os::format_system_message(0x12345678u);
    EXPECT_FALSE(unknown.text);
    EXPECT_EQ(unknown.failure, os::win32_error::mr_mid_not_found);

    auto french = os::format_system_message(5, 0x040C);
    EXPECT_FALSE(french.text);
    EXPECT_EQ(french.failure, os::win32_error::resource_lang_not_found);
}

TEST(errors, errno_translation) {
    const std::pair<int, std::uint32_t> cases[] = {
        {ENOENT, 2},   {ENOTDIR, 3},  {EACCES, 5},      {EPERM, 5},
        {ENOSPC, 112}, {EEXIST, 183}, {ENOTEMPTY, 145}, {ENAMETOOLONG, 206},
        {EXDEV, 17},   {EBUSY, 170},  {EHOSTDOWN, 31},
    };
    for (const auto& [error_number, code] : cases)
        EXPECT_EQ(os::win32_from_errno(error_number), code) << error_number;
}

TEST(errors, hresults_and_categories) {
    EXPECT_EQ(os::hresult_from_win32(206), static_cast<os::hresult>(0x800700CE));
    EXPECT_EQ(os::hresult_from_win32(0), 0);
    std::error_code denied = os::win32_error::access_denied;
    EXPECT_EQ(denied.value(), 5);
    EXPECT_EQ(denied.message(), "Access is denied.");
    EXPECT_EQ(os::message_id(os::hresult_error_code(os::hresults::e_unexpected)), 0x8000FFFFu);
    EXPECT_EQ(os::message_id(std::make_error_code(std::errc::no_such_file_or_directory)), 2u);
}

} // namespace
