#include "product/data/version_block.h"

#include "platform/os/unicode.h"
#include "product/data/byte_writer.h"

#include <cstdio>

namespace product_data {
namespace {

constexpr std::uint16_t binary_node = 0;
constexpr std::uint16_t text_node = 1;
constexpr std::uint16_t unicode_code_page = 1200;

// wLength, wValueLength, wType, the key with its NUL, padding to 4, the value, then each child
// padded to 4.
std::string node(std::wstring_view key, std::uint16_t type, std::string_view value,
                 std::uint16_t value_length, const std::vector<std::string>& children = {}) {
    byte_writer out;
    out.u16(0);
    out.u16(value_length);
    out.u16(type);
    out.raw(platform::os::to_utf16le(key));
    out.u16(0);
    out.align(4);
    out.raw(value);
    for (const std::string& child : children) {
        out.align(4);
        out.raw(child);
    }
    out.patch16(0, static_cast<std::uint32_t>(out.size()));
    return out.take();
}

std::uint32_t high(const std::array<std::uint16_t, 4>& version) {
    return std::uint32_t{version[0]} << 16 | version[1];
}
std::uint32_t low(const std::array<std::uint16_t, 4>& version) {
    return std::uint32_t{version[2]} << 16 | version[3];
}

std::string fixed_file_info(const version_description& version) {
    byte_writer out;
    out.u32(0xFEEF04BD);
    out.u32(0x00010000);
    out.u32(high(version.file_version));
    out.u32(low(version.file_version));
    out.u32(high(version.product_version));
    out.u32(low(version.product_version));
    out.u32(0x3F);    // flags mask
    out.u32(0);       // flags
    out.u32(0x40004); // Windows NT, 32-bit interface
    out.u32(2);       // a DLL
    out.u32(0);
    out.u32(0);
    out.u32(0);
    return out.take();
}

} // namespace

std::string version_block(const version_description& version) {
    std::vector<std::string> strings;
    for (const auto& [key, text] : version.strings) {
        const std::string units = platform::os::to_utf16le(text) + std::string(2, '\0');
        strings.push_back(
            node(key, text_node, units, static_cast<std::uint16_t>(units.size() / 2)));
    }
    wchar_t table_name[9];
    std::swprintf(table_name, 9, L"%04x%04x", version.language, unicode_code_page);
    const std::string table = node(table_name, text_node, {}, 0, strings);

    byte_writer translation;
    translation.u16(version.language);
    translation.u16(unicode_code_page);
    const std::string translations = node(L"Translation", binary_node, translation.bytes(), 4);

    const std::string fixed = fixed_file_info(version);
    return node(L"VS_VERSION_INFO", binary_node, fixed, static_cast<std::uint16_t>(fixed.size()),
                {node(L"StringFileInfo", text_node, {}, 0, {table}),
                 node(L"VarFileInfo", text_node, {}, 0, {translations})});
}

} // namespace product_data
