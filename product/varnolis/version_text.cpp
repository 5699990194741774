#include "product/varnolis/version_text.h"

namespace varnolis {
namespace {

std::optional<unsigned> hex_digit_value(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return static_cast<unsigned>(c - L'0');
    if (c >= L'a' && c <= L'f')
        return static_cast<unsigned>(c - L'a' + 10);
    if (c >= L'A' && c <= L'F')
        return static_cast<unsigned>(c - L'A' + 10);
    return std::nullopt;
}

} // namespace

std::wstring dotted_version(qv::packed_version version) {
    std::wstring text;
    for (int field = 3; field >= 0; --field) {
        text += std::to_wstring((version >> (16 * field)) & 0xFFFF);
        if (field > 0)
            text += L'.';
    }
    return text;
}

std::optional<qv::packed_version> parse_version_hex(std::wstring_view digits) {
    constexpr std::size_t digit_count = 16;
    if (digits.size() != digit_count)
        return std::nullopt;
    qv::packed_version version = 0;
    for (wchar_t c : digits) {
        const auto value = hex_digit_value(c);
        if (!value)
            return std::nullopt;
        version = version << 4 | *value;
    }
    return version;
}

} // namespace varnolis
