#include "platform/ui/gtk_pictures.h"

#include <cstdlib>
#include <optional>
#include <span>
#include <vector>

namespace platform::ui {

namespace {

namespace os = platform::os;

std::uint16_t u16_at(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(bytes[at]) |
                                      std::to_integer<unsigned>(bytes[at + 1]) << 8);
}

std::uint32_t u32_at(std::span<const std::byte> bytes, std::size_t at) {
    return u16_at(bytes, at) | static_cast<std::uint32_t>(u16_at(bytes, at + 2)) << 16;
}

void put_u16(std::vector<std::byte>& out, std::uint32_t value) {
    out.push_back(std::byte(value & 0xFF));
    out.push_back(std::byte((value >> 8) & 0xFF));
}

void put_u32(std::vector<std::byte>& out, std::uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

gtk_object<GdkPixbuf> decode(const char* format, const std::vector<std::byte>& file) {
    gtk_object<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type(format, nullptr));
    if (!loader)
        return nullptr;
    const bool written = gdk_pixbuf_loader_write(
        loader.get(), reinterpret_cast<const guchar*>(file.data()), file.size(), nullptr);
    const bool closed = gdk_pixbuf_loader_close(loader.get(), nullptr);
    if (!written || !closed)
        return nullptr;
    GdkPixbuf* picture = gdk_pixbuf_loader_get_pixbuf(loader.get());
    if (!picture)
        return nullptr;
    return gtk_object<GdkPixbuf>(GDK_PIXBUF(g_object_ref(picture)));
}

// BITMAPINFOHEADER and its colour table come first in a bitmap resource; the file header's
// offset to the pixels counts both.
std::uint32_t pixel_offset(std::span<const std::byte> dib) {
    constexpr std::uint32_t file_header_size = 14;
    const std::uint32_t header_size = u32_at(dib, 0);
    if (header_size == 12) {
        const unsigned bits = u16_at(dib, 10);
        return file_header_size + header_size + (bits <= 8 ? (1u << bits) * 3 : 0);
    }
    const unsigned bits = u16_at(dib, 14);
    const std::uint32_t compression = u32_at(dib, 16);
    std::uint32_t colours = u32_at(dib, 32);
    if (colours == 0 && bits <= 8)
        colours = 1u << bits;
    constexpr std::uint32_t bi_bitfields = 3;
    const std::uint32_t masks = header_size == 40 && compression == bi_bitfields ? 12 : 0;
    return file_header_size + header_size + masks + colours * 4;
}

} // namespace

gtk_object<GdkPixbuf> load_bitmap_pixbuf(const os::resource_module& module,
                                         std::uint16_t bitmap_resource) {
    const auto dib = os::find_resource(module, os::resource_type::bitmap, bitmap_resource);
    if (!dib || dib->size() < 40)
        return nullptr;
    std::vector<std::byte> file;
    file.reserve(14 + dib->size());
    put_u16(file, 0x4D42);
    put_u32(file, static_cast<std::uint32_t>(14 + dib->size()));
    put_u32(file, 0);
    put_u32(file, pixel_offset(*dib));
    file.insert(file.end(), dib->begin(), dib->end());
    return decode("bmp", file);
}

gtk_object<GdkPixbuf> load_icon_pixbuf(const os::resource_module& module,
                                       std::uint16_t icon_resource, int size) {
    // GRPICONDIR: reserved, type, count, then 14-byte entries ending with the RT_ICON ordinal.
    constexpr std::size_t directory_size = 6;
    constexpr std::size_t entry_size = 14;
    const auto group = os::find_resource(module, os::resource_type::group_icon, icon_resource);
    if (!group || group->size() < directory_size)
        return nullptr;
    const std::size_t count = u16_at(*group, 4);
    if (group->size() < directory_size + count * entry_size)
        return nullptr;
    std::optional<std::size_t> best;
    int best_width = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = directory_size + i * entry_size;
        const int width =
            std::to_integer<int>((*group)[at]) == 0 ? 256 : std::to_integer<int>((*group)[at]);
        const int distance = std::abs(width - size);
        const int best_distance = std::abs(best_width - size);
        if (!best || distance < best_distance ||
            (distance == best_distance && width > best_width)) {
            best = at;
            best_width = width;
        }
    }
    if (!best)
        return nullptr;
    const auto image =
        os::find_resource(module, os::resource_type::icon, u16_at(*group, *best + 12));
    if (!image)
        return nullptr;
    // An .ico file of that one image: ICONDIR, an ICONDIRENTRY (the group entry with the image's
    // offset in place of its ordinal), the image.
    constexpr std::uint32_t file_header_size = 6 + 16;
    std::vector<std::byte> file;
    put_u16(file, 0);
    put_u16(file, 1);
    put_u16(file, 1);
    file.insert(file.end(), group->begin() + *best, group->begin() + *best + 8);
    put_u32(file, static_cast<std::uint32_t>(image->size()));
    put_u32(file, file_header_size);
    file.insert(file.end(), image->begin(), image->end());
    return decode("ico", file);
}

} // namespace platform::ui
