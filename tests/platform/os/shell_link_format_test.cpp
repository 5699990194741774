#include "platform/os/error.h"
#include "platform/os/shell_link_format.h"
#include "platform/os/unicode.h"

#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>

namespace os = platform::os;
using namespace std::string_literals;

namespace {

// Little-endian fields of a file's bytes, read where the format puts them.
class fields_of {
public:
    explicit fields_of(std::string bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t number(std::size_t offset, std::size_t width) const {
        EXPECT_LE(offset + width, bytes_.size());
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width && offset + i < bytes_.size(); ++i)
            value |= std::uint64_t{static_cast<unsigned char>(bytes_[offset + i])} << (8 * i);
        return value;
    }
    std::uint16_t u16(std::size_t offset) const {
        return static_cast<std::uint16_t>(number(offset, 2));
    }
    std::uint32_t u32(std::size_t offset) const {
        return static_cast<std::uint32_t>(number(offset, 4));
    }
    std::uint64_t u64(std::size_t offset) const { return number(offset, 8); }
    std::string text(std::size_t offset, std::size_t count) const {
        return bytes_.substr(offset, count);
    }
    // A StringData entry: its count, then that many UTF-16 units.
    std::wstring counted_string(std::size_t offset) const {
        return os::from_utf16le(text(offset + 2, 2u * u16(offset)));
    }
    std::size_t size() const { return bytes_.size(); }

private:
    std::string bytes_;
};

std::span<const std::byte> bytes_of(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

const std::string link_clsid = "\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46"s;

os::shell_link_fields program_link() {
    os::shell_link_fields link;
    link.target = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
    link.volume_serial = 0x1234ABCD;
    link.target_data = {0x21, 0x01D9000000000001, 0x01D9000000000002, 0x01D9000000000003, 4096};
    link.description = L"Varnolis 2.32g";
    link.working_directory = L"C:\\Program Files\\Quorvane\\Varnolis 2";
    return link;
}

TEST(shell_link_format, a_program_link_is_laid_out_field_by_field) {
    const auto encoded = os::encode_shell_link(program_link());
    ASSERT_TRUE(encoded);
    const fields_of file(*encoded);

    // Header.
    EXPECT_EQ(file.u32(0x00), 0x4Cu);
    EXPECT_EQ(file.text(0x04, 16), link_clsid);
    EXPECT_EQ(file.u32(0x14), 0x96u) << "HasLinkInfo, HasName, HasWorkingDir, IsUnicode";
    EXPECT_EQ(file.u32(0x18), 0x21u);
    EXPECT_EQ(file.u64(0x1C), 0x01D9000000000001u);
    EXPECT_EQ(file.u64(0x24), 0x01D9000000000002u);
    EXPECT_EQ(file.u64(0x2C), 0x01D9000000000003u);
    EXPECT_EQ(file.u32(0x34), 4096u);
    EXPECT_EQ(file.u32(0x38), 0u) << "icon index";
    EXPECT_EQ(file.u32(0x3C), 1u) << "SW_SHOWNORMAL";
    EXPECT_EQ(file.u16(0x40), 0u) << "hot key";
    EXPECT_EQ(file.text(0x42, 10), std::string(10, '\0'));

    // LinkInfo: header, VolumeID, local base path, empty common path suffix.
    constexpr std::size_t info = 0x4C;
    EXPECT_EQ(file.u32(info + 0x00), 0x60u) << "LinkInfoSize";
    EXPECT_EQ(file.u32(info + 0x04), 0x1Cu) << "LinkInfoHeaderSize";
    EXPECT_EQ(file.u32(info + 0x08), 1u) << "VolumeIDAndLocalBasePath";
    EXPECT_EQ(file.u32(info + 0x0C), 0x1Cu) << "VolumeIDOffset";
    EXPECT_EQ(file.u32(info + 0x10), 0x2Du) << "LocalBasePathOffset";
    EXPECT_EQ(file.u32(info + 0x14), 0u) << "CommonNetworkRelativeLinkOffset";
    EXPECT_EQ(file.u32(info + 0x18), 0x5Fu) << "CommonPathSuffixOffset";
    EXPECT_EQ(file.u32(info + 0x1C), 0x11u) << "VolumeIDSize";
    EXPECT_EQ(file.u32(info + 0x20), 3u) << "DRIVE_FIXED";
    EXPECT_EQ(file.u32(info + 0x24), 0x1234ABCDu) << "DriveSerialNumber";
    EXPECT_EQ(file.u32(info + 0x28), 0x10u) << "VolumeLabelOffset";
    EXPECT_EQ(file.text(info + 0x2C, 1), "\0"s) << "empty label";
    EXPECT_EQ(file.text(info + 0x2D, 50),
              "C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe\0"s);
    EXPECT_EQ(file.text(info + 0x5F, 1), "\0"s);

    // StringData, then the terminal block and nothing after it.
    constexpr std::size_t strings = info + 0x60;
    EXPECT_EQ(file.u16(strings), 14u);
    EXPECT_EQ(file.counted_string(strings), L"Varnolis 2.32g");
    constexpr std::size_t working = strings + 2 + 2 * 14;
    EXPECT_EQ(file.u16(working), 36u);
    EXPECT_EQ(file.counted_string(working), L"C:\\Program Files\\Quorvane\\Varnolis 2");
    constexpr std::size_t terminal = working + 2 + 2 * 36;
    EXPECT_EQ(file.u32(terminal), 0u);
    EXPECT_EQ(file.size(), terminal + 4);
}

TEST(shell_link_format, a_path_beyond_the_ansi_code_page_adds_its_unicode_form) {
    os::shell_link_fields link;
    link.target = L"C:\\\u03A9mega\\prog.exe";
    link.volume_serial = 7;
    const auto encoded = os::encode_shell_link(link);
    ASSERT_TRUE(encoded);
    const fields_of file(*encoded);

    EXPECT_EQ(file.u32(0x14), 0x82u) << "HasLinkInfo, IsUnicode";
    constexpr std::size_t info = 0x4C;
    EXPECT_EQ(file.u32(info + 0x00), 0x6Eu);
    EXPECT_EQ(file.u32(info + 0x04), 0x24u);
    EXPECT_EQ(file.u32(info + 0x0C), 0x24u);
    EXPECT_EQ(file.u32(info + 0x10), 0x35u);
    EXPECT_EQ(file.u32(info + 0x18), 0x47u);
    EXPECT_EQ(file.u32(info + 0x1C), 0x48u) << "LocalBasePathOffsetUnicode";
    EXPECT_EQ(file.u32(info + 0x20), 0x6Cu) << "CommonPathSuffixOffsetUnicode";
    EXPECT_EQ(file.text(info + 0x35, 18), "C:\\?mega\\prog.exe\0"s);
    EXPECT_EQ(file.text(info + 0x48, 36), os::to_utf16le(L"C:\\\u03A9mega\\prog.exe") + "\0\0"s);
    EXPECT_EQ(file.text(info + 0x6C, 2), "\0\0"s);
    EXPECT_EQ(file.u32(info + 0x6E), 0u);
    EXPECT_EQ(file.size(), info + 0x6E + 4);
}

TEST(shell_link_format, links_read_back_as_they_were_written) {
    os::shell_link_fields full = program_link();
    full.arguments = L"/Register /Background";
    full.icon_path = L"C:\\Program Files\\Quorvane\\Varnolis 2\\icons.dll";
    full.icon_index = -3;
    full.show_command = os::show_command::maximized;

    os::shell_link_fields western;
    western.target = L"C:\\Programme\\\u00DCberpr\u00FCfung\\\u20ACuro.exe";
    western.description = L"D\u00E9sinstaller Varnolis";
    western.show_command = os::show_command::min_no_active;

    os::shell_link_fields beyond;
    beyond.target = L"C:\\\u043F\u0440\u043E\u0433\\\U0001D11E.exe";
    beyond.working_directory = L"C:\\\u043F\u0440\u043E\u0433";

    os::shell_link_fields empty;

    for (const auto& link : {full, western, beyond, empty}) {
        const auto encoded = os::encode_shell_link(link);
        ASSERT_TRUE(encoded);
        const auto decoded = os::decode_shell_link(bytes_of(*encoded));
        ASSERT_TRUE(decoded) << decoded.error().message();
        EXPECT_EQ(*decoded, link) << os::to_utf8(link.target);
    }
}

TEST(shell_link_format, a_link_cut_short_is_refused_wherever_it_ends) {
    os::shell_link_fields link = program_link();
    link.target = L"C:\\\u03A9mega\\prog.exe";
    link.arguments = L"/x";
    link.icon_path = L"C:\\icons.dll";
    const std::string whole = os::encode_shell_link(link).value();
    // Everything but the terminal block is needed.
    for (std::size_t size = 0; size + 4 < whole.size(); ++size) {
        const std::string cut = whole.substr(0, size);
        EXPECT_EQ(os::decode_shell_link(bytes_of(cut)).error(),
                  os::make_error_code(os::win32_error::invalid_data))
            << size;
    }
    EXPECT_TRUE(os::decode_shell_link(bytes_of(whole.substr(0, whole.size() - 4))));
}

TEST(shell_link_format, only_the_shell_links_header_is_accepted) {
    const std::string whole = os::encode_shell_link(program_link()).value();
    std::string other_size = whole;
    other_size[0] = '\x4D';
    std::string other_class = whole;
    other_class[4 + 15] = '\x47';
    for (const std::string& bytes : {other_size, other_class}) {
        EXPECT_EQ(os::decode_shell_link(bytes_of(bytes)).error(),
                  os::make_error_code(os::win32_error::invalid_data));
    }
}

// A link as another program may write it: an item ID list before the link information, a path
// split into base and suffix, single-byte strings with a relative path among them, and a show
// command the format does not define.
TEST(shell_link_format, links_written_by_other_programs_are_read_for_their_target_and_strings) {
    std::string bytes = "\x4C\0\0\0"s + link_clsid;
    // ID list, link info, name, relative path and working folder; single-byte strings.
    bytes += "\x1F\0\0\0"s;
    bytes += "\x20\0\0\0"s + std::string(24, '\0'); // attributes, three times
    bytes += "\x10\0\0\0"s + "\x02\0\0\0"s + "\x05\0\0\0"s + std::string(12, '\0');
    bytes += "\x06\0"s + "\x04\0\xAA\xBB\0\0"s; // an ID list of one item and its terminator
    const std::string base = "C:\\Caf\xE9\\\0"s;
    const std::string suffix = "a.exe\0"s;
    const std::string volume =
        "\x11\0\0\0"s + "\x03\0\0\0"s + "\x78\x56\x34\x12"s + "\x10\0\0\0"s + "\0"s;
    const std::uint32_t size =
        0x1C + 0x11 + static_cast<std::uint32_t>(base.size() + suffix.size());
    const auto le32 = [](std::uint32_t value) {
        std::string out;
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>(value >> (8 * i) & 0xFF);
        return out;
    };
    bytes += le32(size) + le32(0x1C) + le32(1) + le32(0x1C) + le32(0x2D) + le32(0) +
             le32(static_cast<std::uint32_t>(0x2D + base.size()));
    bytes += volume + base + suffix;
    bytes += "\x04\0Caf\xE9"s + "\x03\0..\\"s + "\x02\0C:"s;
    bytes += "\0\0\0\0"s;

    const auto decoded = os::decode_shell_link(bytes_of(bytes));
    ASSERT_TRUE(decoded) << decoded.error().message();
    EXPECT_EQ(decoded->target, L"C:\\Caf\u00E9\\a.exe");
    EXPECT_EQ(decoded->volume_serial, 0x12345678u);
    EXPECT_EQ(decoded->description, L"Caf\u00E9");
    EXPECT_EQ(decoded->working_directory, L"C:");
    EXPECT_EQ(decoded->arguments, L"");
    EXPECT_EQ(decoded->target_data.attributes, 0x20u);
    EXPECT_EQ(decoded->target_data.size, 0x10u);
    EXPECT_EQ(decoded->icon_index, 2);
    EXPECT_EQ(decoded->show_command, os::show_command::normal);
}

TEST(shell_link_format, a_string_longer_than_the_format_counts_is_refused) {
    os::shell_link_fields link;
    link.description.assign(0xFFFF, L'd');
    EXPECT_TRUE(os::encode_shell_link(link));
    link.description += L'd';
    EXPECT_EQ(os::encode_shell_link(link).error(),
              os::make_error_code(os::win32_error::invalid_parameter));
    // Characters beyond the BMP take two units each.
    link.description.assign(0x8000, L'\U0001D11E');
    EXPECT_EQ(os::encode_shell_link(link).error(),
              os::make_error_code(os::win32_error::invalid_parameter));
}

} // namespace
