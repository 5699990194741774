#include "platform/os/unicode.h"

#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

TEST(unicode, utf8_round_trip_including_characters_beyond_the_bmp) {
    const std::wstring text = L"Caf\u00e9 \u0130 \u05e9\u05dc\u05d5\u05dd \U0001F600";
    EXPECT_EQ(os::from_utf8(os::to_utf8(text)), text);
    EXPECT_EQ(os::from_utf8("a\xff"
                            "b"),
              L"a\uFFFDb");
}

TEST(unicode, utf16le_uses_surrogate_pairs) {
    const std::string bytes = os::to_utf16le(L"A\U0001F600");
    EXPECT_EQ(bytes, std::string("A\0\x3D\xD8\x00\xDE", 6));
    EXPECT_EQ(os::from_utf16le(bytes), L"A\U0001F600");
    EXPECT_EQ(os::from_utf16le(std::string("A\0B", 3)), L"A");
}

TEST(unicode, case_insensitive_names) {
    EXPECT_TRUE(os::iequals(L"Program Files", L"PROGRAM files"));
    EXPECT_TRUE(os::iequals(L"\u00e9t\u00e9", L"\u00c9T\u00c9"));
    EXPECT_TRUE(os::iequals(L"\u0434\u043e\u043a", L"\u0414\u041e\u041a"));
    EXPECT_FALSE(os::iequals(L"a", L"ab"));
    EXPECT_FALSE(os::iequals(L"i", L"\u0131"));
}

} // namespace
