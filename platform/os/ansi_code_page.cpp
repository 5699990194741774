#include "platform/os/ansi_code_page.h"

#include <algorithm>
#include <array>

namespace platform::os {
namespace {

// Bytes 0x80 to 0x9F; the five that Windows-1252 leaves undefined map to the C1 controls of the
// same value, as MultiByteToWideChar does.
constexpr std::array<char16_t, 32> high_range = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

wchar_t from_ansi_byte(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0)
        return static_cast<wchar_t>(high_range[byte - 0x80]);
    return static_cast<wchar_t>(byte);
}

std::optional<char> ansi_byte(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    if (c > 0xFFFF)
        return std::nullopt;
    const auto found = std::find(high_range.begin(), high_range.end(), static_cast<char16_t>(c));
    if (found == high_range.end())
        return std::nullopt;
    return static_cast<char>(0x80 + (found - high_range.begin()));
}

std::string to_ansi(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text)
        bytes += ansi_byte(c).value_or('?');
    return bytes;
}

bool is_ansi_representable(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return ansi_byte(c).has_value(); });
}

std::wstring from_ansi(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char byte : bytes)
        text += from_ansi_byte(static_cast<unsigned char>(byte));
    return text;
}

} // namespace platform::os
