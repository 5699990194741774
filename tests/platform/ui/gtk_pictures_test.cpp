// Pictures decoded from bitmap and icon resources: the program's own banner and icons, and
// bitmaps of each pixel format made here with known pixels.

#include "platform/os/resource_module.h"
#include "platform/ui/gtk_pictures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace platform::ui;
namespace os = platform::os;

struct rgb {
    int red, green, blue;
    bool operator==(const rgb&) const = default;
};

rgb pixel(GdkPixbuf* picture, int x, int y) {
    const guchar* at = gdk_pixbuf_get_pixels(picture) + y * gdk_pixbuf_get_rowstride(picture) +
                       x * gdk_pixbuf_get_n_channels(picture);
    return {at[0], at[1], at[2]};
}

std::uint32_t u32_at(std::span<const std::byte> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | std::to_integer<std::uint32_t>(bytes[at + i]);
    return value;
}

TEST(GtkPictures, BannerBitmapDecodesWithItsPalette) {
    const auto dib = os::find_resource(os::own_module(), os::resource_type::bitmap, 137);
    ASSERT_TRUE(dib);
    const auto banner = load_bitmap_pixbuf(os::own_module(), 137);
    ASSERT_TRUE(banner);
    const int width = static_cast<int>(u32_at(*dib, 4));
    const int height = static_cast<int>(u32_at(*dib, 8));
    EXPECT_EQ(gdk_pixbuf_get_width(banner.get()), width);
    EXPECT_EQ(gdk_pixbuf_get_height(banner.get()), height);
    // Rows run bottom up: the first pixel index is the bottom-left pixel's, after the palette.
    std::uint32_t colours = u32_at(*dib, 32);
    if (colours == 0)
        colours = 256;
    const std::size_t pixels = 40 + 4 * colours;
    const auto index = std::to_integer<std::size_t>((*dib)[pixels]);
    const auto entry = dib->subspan(40 + 4 * index, 4);
    EXPECT_EQ(pixel(banner.get(), 0, height - 1),
              (rgb{std::to_integer<int>(entry[2]), std::to_integer<int>(entry[1]),
                   std::to_integer<int>(entry[0])}));
}

struct icon_case {
    std::uint16_t resource;
    int wanted;
    int width;
    int height;
};

void PrintTo(const icon_case& icon, std::ostream* out) {
    *out << icon.resource << " at " << icon.wanted;
}

class GtkIconSizes : public ::testing::TestWithParam<icon_case> {};

TEST_P(GtkIconSizes, NearestEntryOfTheGroup) {
    const icon_case& c = GetParam();
    const auto icon = load_icon_pixbuf(os::own_module(), c.resource, c.wanted);
    ASSERT_TRUE(icon);
    EXPECT_EQ(gdk_pixbuf_get_width(icon.get()), c.width);
    EXPECT_EQ(gdk_pixbuf_get_height(icon.get()), c.height);
}

// The application icon has 16, 32 and 48 pixel entries; a flag has one of 18 x 12.
INSTANTIATE_TEST_SUITE_P(Icons, GtkIconSizes,
                         ::testing::Values(icon_case{128, 16, 16, 16}, icon_case{128, 32, 32, 32},
                                           icon_case{128, 40, 48, 48}, icon_case{128, 100, 48, 48},
                                           icon_case{128, 20, 16, 16}, icon_case{145, 16, 18, 12}),
                         [](const auto& info) {
                             return "icon" + std::to_string(info.param.resource) + "at" +
                                    std::to_string(info.param.wanted);
                         });

TEST(GtkPictures, MissingOrBrokenResourcesGiveNone) {
    EXPECT_FALSE(load_icon_pixbuf(os::own_module(), 999, 32));
    EXPECT_FALSE(load_bitmap_pixbuf(os::own_module(), 999));
    // The icon 128 is a group: as a bitmap it does not exist.
    EXPECT_FALSE(load_bitmap_pixbuf(os::own_module(), 128));

    os::resource_module module;
    const auto truncated = module.keep(std::vector<std::byte>(12, std::byte{0}));
    module.add(os::resource_type::bitmap, 1, 0, truncated);
    module.add(os::resource_type::group_icon, 1, 0, truncated);
    EXPECT_FALSE(load_bitmap_pixbuf(module, 1));
    EXPECT_FALSE(load_icon_pixbuf(module, 1, 32));
}

// A 2 x 2 DIB: bottom row blue, red; top row green, white.
class dib_writer {
public:
    std::vector<std::byte> bytes;

    void u8(unsigned value) { bytes.push_back(std::byte(value & 0xFF)); }
    void u16(unsigned value) {
        u8(value);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void header(unsigned bits, std::uint32_t compression, std::uint32_t colours_used) {
        u32(40);
        u32(2);
        u32(2);
        u16(1);
        u16(bits);
        u32(compression);
        u32(0);
        u32(0);
        u32(0);
        u32(colours_used);
        u32(0);
    }
};

constexpr std::array<rgb, 4> bottom_up{rgb{0, 0, 255}, rgb{255, 0, 0}, rgb{0, 255, 0},
                                       rgb{255, 255, 255}};

std::vector<std::byte> dib_8_bit() {
    // Four palette entries (not 256): the pixels start right after them.
    dib_writer out;
    out.header(8, 0, 4);
    for (const rgb& colour : bottom_up) {
        out.u8(colour.blue);
        out.u8(colour.green);
        out.u8(colour.red);
        out.u8(0);
    }
    for (unsigned row = 0; row < 2; ++row) {
        out.u8(row * 2);
        out.u8(row * 2 + 1);
        out.u16(0);
    }
    return out.bytes;
}

std::vector<std::byte> dib_24_bit() {
    dib_writer out;
    out.header(24, 0, 0);
    for (unsigned row = 0; row < 2; ++row) {
        for (unsigned column = 0; column < 2; ++column) {
            const rgb& colour = bottom_up[row * 2 + column];
            out.u8(colour.blue);
            out.u8(colour.green);
            out.u8(colour.red);
        }
        out.u16(0);
    }
    return out.bytes;
}

std::vector<std::byte> dib_32_bit_bitfields() {
    // BI_BITFIELDS: three masks follow the header.
    dib_writer out;
    out.header(32, 3, 0);
    out.u32(0x00FF0000);
    out.u32(0x0000FF00);
    out.u32(0x000000FF);
    for (const rgb& colour : bottom_up) {
        out.u8(colour.blue);
        out.u8(colour.green);
        out.u8(colour.red);
        out.u8(0);
    }
    return out.bytes;
}

struct bitmap_format {
    const char* name;
    std::vector<std::byte> (*make)();
};

void PrintTo(const bitmap_format& format, std::ostream* out) {
    *out << format.name;
}

class GtkBitmapFormats : public ::testing::TestWithParam<bitmap_format> {};

TEST_P(GtkBitmapFormats, PixelsLandWhereTheDibPutsThem) {
    os::resource_module module;
    module.add(os::resource_type::bitmap, 7, 0, module.keep(GetParam().make()));
    const auto picture = load_bitmap_pixbuf(module, 7);
    ASSERT_TRUE(picture);
    ASSERT_EQ(gdk_pixbuf_get_width(picture.get()), 2);
    ASSERT_EQ(gdk_pixbuf_get_height(picture.get()), 2);
    EXPECT_EQ(pixel(picture.get(), 0, 1), bottom_up[0]);
    EXPECT_EQ(pixel(picture.get(), 1, 1), bottom_up[1]);
    EXPECT_EQ(pixel(picture.get(), 0, 0), bottom_up[2]);
    EXPECT_EQ(pixel(picture.get(), 1, 0), bottom_up[3]);
}

INSTANTIATE_TEST_SUITE_P(Formats, GtkBitmapFormats,
                         ::testing::Values(bitmap_format{"palette8", &dib_8_bit},
                                           bitmap_format{"rgb24", &dib_24_bit},
                                           bitmap_format{"bitfields32", &dib_32_bit_bitfields}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
