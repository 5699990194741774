#include "platform/os/ansi_code_page.h"

#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

TEST(ansi_code_page, characters_map_to_their_windows_1252_bytes_and_back) {
    struct {
        wchar_t character;
        std::optional<unsigned char> byte;
    } const cases[] = {
        {L'A', 0x41},
        {L'\u00E9', 0xE9},
        {L'\u00FF', 0xFF},
        {L'\u20AC', 0x80},
        {L'\u2122', 0x99},
        {L'\u0178', 0x9F},
        {L'\u0081', 0x81},
        {L'\u0080', std::nullopt},
        {L'\u03A9', std::nullopt},
        {L'\U0001D11E', std::nullopt},
    };
    for (const auto& c : cases) {
        const auto byte = os::ansi_byte(c.character);
        ASSERT_EQ(byte.has_value(), c.byte.has_value()) << static_cast<unsigned>(c.character);
        if (!byte)
            continue;
        EXPECT_EQ(static_cast<unsigned char>(*byte), *c.byte);
        EXPECT_EQ(os::from_ansi(std::string(1, *byte)), std::wstring(1, c.character));
    }
}

TEST(ansi_code_page, text_without_a_byte_is_written_with_question_marks) {
    EXPECT_EQ(os::to_ansi(L"C:\\\u03A9mega\\caf\u00E9 \u20AC"), "C:\\?mega\\caf\xE9 \x80");
    EXPECT_TRUE(os::is_ansi_representable(L"caf\u00E9 \u20AC"));
    EXPECT_FALSE(os::is_ansi_representable(L"\u03A9"));
}

} // namespace
