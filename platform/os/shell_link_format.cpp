#include "platform/os/shell_link_format.h"

#include "platform/os/ansi_code_page.h"
#include "platform/os/binary_view.h"
#include "platform/os/unicode.h"

#include <array>

namespace platform::os {
namespace {

constexpr std::uint32_t header_size = 0x4C;
// 00021401-0000-0000-C000-000000000046 in its stored byte order.
constexpr std::array<unsigned char, 16> link_clsid = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

namespace link_flag {
constexpr std::uint32_t has_link_target_id_list = 0x1;
constexpr std::uint32_t has_link_info = 0x2;
constexpr std::uint32_t has_name = 0x4;
constexpr std::uint32_t has_relative_path = 0x8;
constexpr std::uint32_t has_working_dir = 0x10;
constexpr std::uint32_t has_arguments = 0x20;
constexpr std::uint32_t has_icon_location = 0x40;
constexpr std::uint32_t is_unicode = 0x80;
constexpr std::uint32_t force_no_link_info = 0x100;
} // namespace link_flag

// LinkInfo's header without and with the offsets of the Unicode paths.
constexpr std::uint32_t link_info_header_size = 0x1C;
constexpr std::uint32_t link_info_unicode_header_size = 0x24;
constexpr std::uint32_t volume_id_and_local_base_path = 0x1;
constexpr std::uint32_t drive_fixed = 3;
// VolumeID: size, drive type, serial number, label offset, then the label.
constexpr std::uint32_t volume_label_offset = 0x10;

// The stored size of a string data entry is a 16-bit count of UTF-16 units.
constexpr std::size_t max_string_units = 0xFFFF;

class byte_writer {
public:
    void u16(std::uint16_t value) { little_endian(value, 2); }
    void u32(std::uint32_t value) { little_endian(value, 4); }
    void u64(std::uint64_t value) { little_endian(value, 8); }
    void bytes(std::string_view data) { out_ += data; }
    void zeros(std::size_t count) { out_.append(count, '\0'); }
    std::string take() { return std::move(out_); }

private:
    void little_endian(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out_ += static_cast<char>(value >> (8 * i) & 0xFF);
    }
    std::string out_;
};

// LinkInfo with a VolumeID and the target as the local base path; the common path suffix is
// empty. The Unicode copies are added only when the ANSI code page cannot spell the path.
std::string link_info(const shell_link_fields& link) {
    const std::string ansi_path = to_ansi(link.target) + '\0';
    const std::string ansi_suffix(1, '\0');
    const bool unicode = !is_ansi_representable(link.target);
    const std::string unicode_path = to_utf16le(link.target) + std::string(2, '\0');
    const std::string unicode_suffix(2, '\0');

    byte_writer volume_id;
    const std::string label(1, '\0');
    volume_id.u32(static_cast<std::uint32_t>(volume_label_offset + label.size()));
    volume_id.u32(drive_fixed);
    volume_id.u32(link.volume_serial);
    volume_id.u32(volume_label_offset);
    volume_id.bytes(label);
    const std::string volume = volume_id.take();

    const std::uint32_t header = unicode ? link_info_unicode_header_size : link_info_header_size;
    const auto volume_offset = header;
    const auto path_offset = static_cast<std::uint32_t>(volume_offset + volume.size());
    const auto suffix_offset = static_cast<std::uint32_t>(path_offset + ansi_path.size());
    const auto unicode_path_offset = static_cast<std::uint32_t>(suffix_offset + ansi_suffix.size());
    const auto unicode_suffix_offset =
        static_cast<std::uint32_t>(unicode_path_offset + unicode_path.size());
    const auto total =
        unicode ? unicode_suffix_offset + unicode_suffix.size() : unicode_path_offset;

    byte_writer out;
    out.u32(static_cast<std::uint32_t>(total));
    out.u32(header);
    out.u32(volume_id_and_local_base_path);
    out.u32(volume_offset);
    out.u32(path_offset);
    out.u32(0); // no network share
    out.u32(suffix_offset);
    if (unicode) {
        out.u32(unicode_path_offset);
        out.u32(unicode_suffix_offset);
    }
    out.bytes(volume);
    out.bytes(ansi_path);
    out.bytes(ansi_suffix);
    if (unicode) {
        out.bytes(unicode_path);
        out.bytes(unicode_suffix);
    }
    return out.take();
}

// A StringData entry: the count of UTF-16 units, then the units without NUL.
bool append_string(byte_writer& out, const std::wstring& text) {
    const std::string units = to_utf16le(text);
    if (units.size() / 2 > max_string_units)
        return false;
    out.u16(static_cast<std::uint16_t>(units.size() / 2));
    out.bytes(units);
    return true;
}

// A NUL-terminated single-byte string that starts at offset and ends within view.
std::string ansi_string_at(const binary_view& view, std::uint64_t offset) {
    std::string text;
    for (std::uint64_t at = offset;; ++at) {
        const char c = static_cast<char>(view.u8(at));
        if (c == '\0')
            return text;
        text += c;
    }
}

std::wstring unicode_string_at(const binary_view& view, std::uint64_t offset) {
    std::string units;
    for (std::uint64_t at = offset;; at += 2) {
        const std::uint16_t unit = view.u16(at);
        if (unit == 0)
            return from_utf16le(units);
        units += static_cast<char>(unit & 0xFF);
        units += static_cast<char>(unit >> 8);
    }
}

// The local base path and common path suffix of a LinkInfo structure, Unicode when present.
std::wstring read_link_info_target(const binary_view& info) {
    const std::uint32_t header = info.u32(4);
    const std::uint32_t flags = info.u32(8);
    if (header < link_info_header_size || !(flags & volume_id_and_local_base_path))
        return {};
    if (header >= link_info_unicode_header_size)
        return unicode_string_at(info, info.u32(0x1C)) + unicode_string_at(info, info.u32(0x20));
    return from_ansi(ansi_string_at(info, info.u32(0x10))) +
           from_ansi(ansi_string_at(info, info.u32(0x18)));
}

std::uint32_t read_volume_serial(const binary_view& info) {
    if (!(info.u32(8) & volume_id_and_local_base_path))
        return 0;
    const std::uint32_t volume = info.u32(0x0C);
    return info.u32(volume + 8);
}

class link_reader {
public:
    explicit link_reader(std::span<const std::byte> bytes)
        : view_(bytes, win32_error::invalid_data) {}

    shell_link_fields read() {
        if (view_.u32(0) != header_size)
            view_.fail();
        const auto clsid = view_.range(4, link_clsid.size());
        for (std::size_t i = 0; i < link_clsid.size(); ++i) {
            if (static_cast<unsigned char>(clsid[i]) != link_clsid[i])
                view_.fail();
        }
        shell_link_fields link;
        const std::uint32_t flags = view_.u32(0x14);
        link.target_data = {view_.u32(0x18), view_.u64(0x1C), view_.u64(0x24), view_.u64(0x2C),
                            view_.u32(0x34)};
        link.icon_index = static_cast<std::int32_t>(view_.u32(0x38));
        link.show_command = show_command_of(view_.u32(0x3C));
        unicode_ = (flags & link_flag::is_unicode) != 0;

        position_ = header_size;
        if (flags & link_flag::has_link_target_id_list)
            position_ += 2 + view_.u16(position_);
        if (flags & link_flag::has_link_info) {
            const std::uint32_t size = view_.u32(position_);
            const binary_view info(view_.range(position_, size), win32_error::invalid_data);
            if (!(flags & link_flag::force_no_link_info)) {
                link.target = read_link_info_target(info);
                link.volume_serial = read_volume_serial(info);
            }
            position_ += size;
        }
        if (flags & link_flag::has_name)
            link.description = next_string();
        if (flags & link_flag::has_relative_path)
            next_string();
        if (flags & link_flag::has_working_dir)
            link.working_directory = next_string();
        if (flags & link_flag::has_arguments)
            link.arguments = next_string();
        if (flags & link_flag::has_icon_location)
            link.icon_path = next_string();
        return link;
    }

private:
    static platform::os::show_command show_command_of(std::uint32_t value) {
        switch (static_cast<platform::os::show_command>(value)) {
        case show_command::maximized:
        case show_command::min_no_active:
            return static_cast<platform::os::show_command>(value);
        default:
            return show_command::normal;
        }
    }

    std::wstring next_string() {
        const std::uint16_t count = view_.u16(position_);
        position_ += 2;
        const std::uint64_t bytes = unicode_ ? 2u * count : count;
        const auto data = view_.range(position_, bytes);
        position_ += bytes;
        if (unicode_)
            return utf16le_text(data);
        return from_ansi(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    }

    binary_view view_;
    std::uint64_t position_ = 0;
    bool unicode_ = false;
};

} // namespace

result<std::string> encode_shell_link(const shell_link_fields& link) {
    std::uint32_t flags = link_flag::is_unicode;
    if (!link.target.empty())
        flags |= link_flag::has_link_info;
    if (!link.description.empty())
        flags |= link_flag::has_name;
    if (!link.working_directory.empty())
        flags |= link_flag::has_working_dir;
    if (!link.arguments.empty())
        flags |= link_flag::has_arguments;
    if (!link.icon_path.empty())
        flags |= link_flag::has_icon_location;

    byte_writer out;
    out.u32(header_size);
    out.bytes(
        std::string_view(reinterpret_cast<const char*>(link_clsid.data()), link_clsid.size()));
    out.u32(flags);
    out.u32(link.target_data.attributes);
    out.u64(link.target_data.creation_time);
    out.u64(link.target_data.access_time);
    out.u64(link.target_data.write_time);
    out.u32(link.target_data.size);
    out.u32(static_cast<std::uint32_t>(link.icon_index));
    out.u32(static_cast<std::uint32_t>(link.show_command));
    out.u16(0); // no hot key
    out.zeros(10);
    if (flags & link_flag::has_link_info)
        out.bytes(link_info(link));
    for (const std::wstring* text :
         {&link.description, &link.working_directory, &link.arguments, &link.icon_path}) {
        if (!text->empty() && !append_string(out, *text))
            return win32_error::invalid_parameter;
    }
    out.u32(0); // the terminal block of the extra data
    return out.take();
}

result<shell_link_fields> decode_shell_link(std::span<const std::byte> bytes) {
    try {
        return link_reader(bytes).read();
    } catch (const binary_format_error& error) {
        return error.code();
    }
}

} // namespace platform::os
