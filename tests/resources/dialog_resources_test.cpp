#include "platform/os/binary_view.h"
#include "platform/os/resources.h"
#include "platform/os/unicode.h"
#include "resources/dialog_ids.h"
#include "resources/window_styles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace os = platform::os;

namespace {

constexpr std::uint16_t neutral_language = 0;

// A name field of a template: nothing, an ordinal, or a text.
struct name_field {
    std::optional<std::uint16_t> ordinal;
    std::wstring text;

    bool operator==(const name_field&) const = default;
};

name_field ordinal(std::uint16_t value) {
    return {value, {}};
}
name_field text(const wchar_t* value) {
    return {std::nullopt, value};
}

constexpr std::uint16_t button_class = 0x80;
constexpr std::uint16_t edit_class = 0x81;
constexpr std::uint16_t static_class = 0x82;

struct dialog_item {
    std::uint32_t style = 0;
    std::int32_t id = 0;
    name_field window_class;
    name_field title;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct dialog_template {
    std::uint32_t ex_style = 0;
    std::uint32_t style = 0;
    std::int16_t cx = 0, cy = 0;
    name_field menu;
    name_field window_class;
    std::wstring title;
    std::uint16_t point_size = 0;
    std::uint16_t weight = 0;
    std::uint8_t italic = 0;
    std::uint8_t charset = 0;
    std::wstring typeface;
    std::vector<dialog_item> items;
};

// Reads the extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items).
class template_reader {
public:
    explicit template_reader(std::span<const std::byte> bytes)
        : view_(bytes, os::win32_error::resource_data_not_found) {}

    dialog_template read() {
        if (u16() != 1 || u16() != 0xFFFF)
            view_.fail();
        dialog_template dialog;
        u32(); // help id
        dialog.ex_style = u32();
        dialog.style = u32();
        const std::uint16_t count = u16();
        i16(); // x
        i16(); // y
        dialog.cx = i16();
        dialog.cy = i16();
        dialog.menu = name();
        dialog.window_class = name();
        dialog.title = string();
        if (dialog.style & DS_SETFONT) {
            dialog.point_size = u16();
            dialog.weight = u16();
            dialog.italic = u8();
            dialog.charset = u8();
            dialog.typeface = string();
        }
        for (std::uint16_t i = 0; i < count; ++i)
            dialog.items.push_back(item());
        return dialog;
    }

private:
    dialog_item item() {
        offset_ = (offset_ + 3) & ~std::uint64_t{3};
        dialog_item item;
        u32(); // help id
        u32(); // extended style
        item.style = u32();
        item.x = i16();
        item.y = i16();
        item.cx = i16();
        item.cy = i16();
        item.id = static_cast<std::int32_t>(u32());
        item.window_class = name();
        item.title = name();
        const std::uint16_t extra = u16();
        view_.range(offset_, extra);
        offset_ += extra;
        return item;
    }

    name_field name() {
        const std::uint16_t first = view_.u16(offset_);
        if (first == 0) {
            offset_ += 2;
            return {};
        }
        if (first == 0xFFFF) {
            offset_ += 2;
            return ordinal(u16());
        }
        return {std::nullopt, string()};
    }

    std::wstring string() {
        const std::uint64_t start = offset_;
        while (u16() != 0) {
        }
        return os::utf16le_text(view_.range(start, offset_ - start - 2));
    }

    std::uint8_t u8() { return view_.u8(advance(1)); }
    std::uint16_t u16() { return view_.u16(advance(2)); }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::uint32_t u32() { return view_.u32(advance(4)); }

    std::uint64_t advance(std::uint64_t width) {
        const std::uint64_t at = offset_;
        offset_ += width;
        return at;
    }

    os::binary_view view_;
    std::uint64_t offset_ = 0;
};

std::optional<dialog_template> dialog_resource(std::uint16_t id) {
    const auto bytes =
        os::find_resource(os::own_module(), os::resource_type::dialog, id, neutral_language);
    if (!bytes)
        return std::nullopt;
    return template_reader(*bytes).read();
}

// Windows compares window class names without case (the resource compiler writes them in
// capitals).
bool same_class(const name_field& actual, const name_field& expected) {
    return actual.ordinal == expected.ordinal && os::iequals(actual.text, expected.text);
}

std::string describe(const name_field& field) {
    if (field.ordinal)
        return "#" + std::to_string(*field.ordinal);
    return std::filesystem::path(field.text).string();
}

// Controls are visible children unless a template says otherwise.
constexpr std::uint32_t control = WS_CHILD | WS_VISIBLE;

struct expected_template {
    std::uint16_t id;
    std::uint32_t style;
    std::int16_t cx, cy;
    const wchar_t* title;
    std::vector<dialog_item> items;
};

// Pages: hidden child controls of the frame (WS_CHILD, WS_CLIPCHILDREN, DS_CONTROL,
// DS_SETFONT, DS_NOFAILCREATE, DS_FIXEDSYS). Frame and about box: modal popups with caption and
// system menu (WS_POPUP, WS_CAPTION, WS_SYSMENU, DS_MODALFRAME, DS_SETFONT, DS_FIXEDSYS).
constexpr std::uint32_t page_style = 0x42000458;
constexpr std::uint32_t modal_style = 0x80C800C8;

const std::vector<expected_template>& expected_templates() {
    static const std::vector<expected_template> templates = {
        {IDD_FRAME,
         modal_style,
         273,
         139,
         L"Installer",
         {
             {control | BS_DEFPUSHBUTTON | WS_TABSTOP, 1, ordinal(button_class), text(L"Next >>"),
              138, 118, 66, 14},
             {control | WS_TABSTOP, 3, ordinal(button_class), text(L"<< Back"), 69, 118, 66, 14},
             {control | WS_TABSTOP, 2, ordinal(button_class), text(L"Exit"), 216, 118, 50, 14},
             {control | SS_WHITERECT, 1005, ordinal(static_class), {}, -3, 0, 67, 112},
             {control | SS_BITMAP, -1, ordinal(static_class), ordinal(137), 3, 3, 58, 105},
             {control | SS_ETCHEDHORZ, 1002, ordinal(static_class), {}, 1, 112, 272, 1},
         }},
        {IDD_START_PAGE,
         page_style,
         251,
         84,
         L"",
         {
             {control | SS_NOPREFIX, 1022, ordinal(static_class), text(L"Select Language"), 7, 9,
              141, 8},
             {control | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
              1023,
              text(L"ComboBoxEx32"),
              {},
              149,
              7,
              95,
              130},
             {control | SS_RIGHT | SS_NOPREFIX | WS_DISABLED, 1020, ordinal(static_class),
              text(L"Copyright"), 7, 27, 237, 9},
             {control | SS_NOPREFIX | SS_SUNKEN, 1016, ordinal(static_class),
              text(L"Info1\nInfo2\nInfo3"), 7, 38, 237, 27},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 69, 237, 8},
         }},
        {IDD_METHOD_PAGE,
         page_style,
         279,
         82,
         L"",
         {
             {control | BS_GROUPBOX, 1021, ordinal(button_class), text(L"Mode"), 7, 7, 265, 46},
             {control | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 1018, ordinal(button_class),
              text(L"Fast"), 14, 21, 249, 8},
             {control | BS_AUTORADIOBUTTON, 1019, ordinal(button_class), text(L"Custom"), 14, 36,
              249, 8},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 67, 265, 8},
         }},
        {IDD_FOLDER_PAGE,
         page_style,
         278,
         86,
         L"",
         {
             {control | BS_GROUPBOX, 1008, ordinal(button_class), text(L"Select Folder"), 7, 7, 264,
              52},
             {control, 1009, ordinal(static_class), text(L"Select Folder"), 16, 23, 245, 8},
             {control | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              1007,
              ordinal(edit_class),
              {},
              16,
              39,
              177,
              12},
             {control | WS_TABSTOP, 1006, ordinal(button_class), text(L"Browse..."), 198, 38, 63,
              14},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 71, 264, 8},
         }},
        {IDD_SHORTCUT_PAGE,
         page_style,
         278,
         105,
         L"",
         {
             {control | BS_GROUPBOX, 1012, ordinal(button_class), text(L"Start Menu"), 7, 7, 264,
              52},
             {control | BS_AUTOCHECKBOX | WS_TABSTOP, 1011, ordinal(button_class),
              text(L"Menu Shortcut"), 16, 23, 245, 8},
             {control | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              1007,
              ordinal(edit_class),
              {},
              16,
              39,
              177,
              12},
             {control | WS_TABSTOP, 1006, ordinal(button_class), text(L"Browse..."), 198, 38, 63,
              14},
             {control | BS_AUTOCHECKBOX | WS_GROUP | WS_TABSTOP, 1010, ordinal(button_class),
              text(L"Desktop Shortcut"), 16, 70, 255, 8},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 90, 264, 8},
         }},
        {IDD_INSTALL_PAGE,
         page_style,
         219,
         97,
         L"",
         {
             {control | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL | WS_VSCROLL |
                  WS_BORDER | WS_TABSTOP,
              1015,
              ordinal(edit_class),
              {},
              7,
              7,
              205,
              54},
             {control, 1014, text(L"msctls_progress32"), {}, 7, 67, 205, 10},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 82, 205, 8},
         }},
        {IDD_END_PAGE,
         page_style,
         242,
         56,
         L"",
         {
             {control | SS_NOPREFIX, 1016, ordinal(static_class), text(L"Info"), 7, 7, 228, 27},
             {control | SS_NOPREFIX, 1003, ordinal(static_class), text(L"Status"), 7, 41, 228, 8},
         }},
        {IDD_ABOUT,
         modal_style,
         192,
         141,
         L"About '%1'",
         {
             {control | BS_DEFPUSHBUTTON | WS_TABSTOP, 1, ordinal(button_class), text(L"OK"), 70,
              121, 50, 14},
             {control | SS_ICON, -1, ordinal(static_class), ordinal(128), 9, 6, 20, 20},
             {control | SS_NOPREFIX, 1019, ordinal(static_class), text(L"Install"), 44, 6, 139, 8},
             {control | SS_NOPREFIX, 1020, ordinal(static_class),
              text(L"Copyright \u00A9 Quorvane. All rights reserved."), 44, 18, 139, 8},
             {control | SS_CENTER | SS_NOPREFIX, -1, ordinal(static_class),
              text(L"Quorvane\n18, rue des Ateliers\n00000 Exempleville, France"), 29, 38, 134, 24},
             {control | SS_CENTER | SS_NOPREFIX, -1, ordinal(static_class),
              text(L"Tel. +33 1 00 00 00 01"), 29, 66, 134, 8},
             {control | SS_CENTER | SS_NOPREFIX, -1, ordinal(static_class),
              text(L"Fax +33 1 00 00 00 02"), 29, 78, 134, 8},
             {control | SS_CENTER | SS_NOPREFIX, -1, ordinal(static_class),
              text(L"support@quorvane.example"), 29, 90, 134, 8},
             {control | SS_CENTER | SS_NOPREFIX, -1, ordinal(static_class),
              text(L"www.quorvane.example"), 29, 102, 134, 8},
         }},
    };
    return templates;
}

TEST(dialog_resources, every_template_has_its_controls_in_order) {
    for (const auto& expected : expected_templates()) {
        SCOPED_TRACE(testing::Message() << "template " << expected.id);
        const auto dialog = dialog_resource(expected.id);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->style, expected.style);
        EXPECT_EQ(dialog->ex_style, 0u);
        EXPECT_EQ(dialog->cx, expected.cx);
        EXPECT_EQ(dialog->cy, expected.cy);
        EXPECT_EQ(dialog->title, expected.title);
        EXPECT_EQ(dialog->menu, name_field{});
        EXPECT_EQ(dialog->window_class, name_field{});
        ASSERT_EQ(dialog->items.size(), expected.items.size());
        for (std::size_t i = 0; i < expected.items.size(); ++i) {
            const auto& actual = dialog->items[i];
            const auto& wanted = expected.items[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " (id " << wanted.id << ")");
            EXPECT_EQ(actual.id, wanted.id);
            EXPECT_TRUE(same_class(actual.window_class, wanted.window_class))
                << describe(actual.window_class) << " is not " << describe(wanted.window_class);
            EXPECT_EQ(actual.style, wanted.style) << std::hex << actual.style;
            EXPECT_EQ(actual.title, wanted.title)
                << describe(actual.title) << " is not " << describe(wanted.title);
            EXPECT_EQ((std::vector<int>{actual.x, actual.y, actual.cx, actual.cy}),
                      (std::vector<int>{wanted.x, wanted.y, wanted.cx, wanted.cy}));
        }
    }
}

TEST(dialog_resources, every_template_uses_ms_shell_dlg_at_8_points) {
    for (const auto& expected : expected_templates()) {
        SCOPED_TRACE(testing::Message() << "template " << expected.id);
        const auto dialog = dialog_resource(expected.id);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->typeface, L"MS Shell Dlg");
        EXPECT_EQ(dialog->point_size, 8);
        EXPECT_EQ(dialog->weight, 400);
        EXPECT_EQ(dialog->italic, 0);
        EXPECT_EQ(dialog->charset, 1);
    }
}

// GRPICONDIR: reserved, type 1, count, then 14-byte entries naming the icon images by id.
struct group_entry {
    std::uint8_t width, height;
    std::uint16_t bit_count;
    std::uint32_t bytes;
    std::uint16_t image_id;
};

std::vector<group_entry> icon_group(std::uint16_t id) {
    const auto bytes =
        os::find_resource(os::own_module(), os::resource_type::group_icon, id, neutral_language);
    if (!bytes)
        return {};
    const os::binary_view view(*bytes, os::win32_error::resource_data_not_found);
    EXPECT_EQ(view.u16(0), 0);
    EXPECT_EQ(view.u16(2), 1);
    std::vector<group_entry> entries;
    for (std::uint16_t i = 0; i < view.u16(4); ++i) {
        const std::uint64_t at = 6 + std::uint64_t{i} * 14;
        entries.push_back(
            {view.u8(at), view.u8(at + 1), view.u16(at + 6), view.u32(at + 8), view.u16(at + 12)});
    }
    return entries;
}

struct bitmap_header {
    std::int32_t width, height;
    std::uint16_t bit_count;
    std::uint32_t colours_used;
    std::size_t size;
};

std::optional<bitmap_header> read_bitmap_header(std::span<const std::byte> bytes) {
    const os::binary_view view(bytes, os::win32_error::resource_data_not_found);
    if (view.u32(0) != 40)
        return std::nullopt;
    return bitmap_header{static_cast<std::int32_t>(view.u32(4)),
                         static_cast<std::int32_t>(view.u32(8)), view.u16(14), view.u32(32),
                         bytes.size()};
}

// One image of an icon group: its bitmap header agrees with the group's entry (the image is
// stored with its height doubled for the mask), 32 bits per pixel.
void expect_icon_image(const group_entry& entry, int width, int height) {
    EXPECT_EQ(entry.width, width);
    EXPECT_EQ(entry.height, height);
    EXPECT_EQ(entry.bit_count, 32);
    const auto image = os::find_resource(os::own_module(), os::resource_type::icon, entry.image_id,
                                         neutral_language);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), entry.bytes);
    const auto header = read_bitmap_header(*image);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, width);
    EXPECT_EQ(header->height, height * 2);
    EXPECT_EQ(header->bit_count, 32);
    const std::size_t mask_stride = (width + 31) / 32 * 4;
    EXPECT_EQ(header->size, 40 + std::size_t(width * height * 4) + mask_stride * height);
}

TEST(dialog_resources, the_application_icon_comes_in_16_32_and_48_pixels) {
    const auto group = icon_group(IDI_APPLICATION_ICON);
    constexpr int sizes[] = {16, 32, 48};
    ASSERT_EQ(group.size(), std::size(sizes));
    for (std::size_t i = 0; i < group.size(); ++i) {
        SCOPED_TRACE(testing::Message() << sizes[i] << " pixels");
        expect_icon_image(group[i], sizes[i], sizes[i]);
    }
}

// The group icon of each language's flag, as the language table names them.
constexpr std::uint16_t flag_icons[] = {144, 145, 141, 143, 148, 147, 142, 149, 150, 151, 152,
                                        146, 153, 154, 155, 156, 157, 158, 160, 161, 162};

TEST(dialog_resources, every_language_has_a_flag_of_18_by_12_pixels) {
    std::set<std::vector<std::byte>> pictures;
    for (const auto id : flag_icons) {
        SCOPED_TRACE(testing::Message() << "flag " << id);
        const auto group = icon_group(id);
        ASSERT_EQ(group.size(), 1u);
        expect_icon_image(group[0], 18, 12);
        const auto image = os::find_resource(os::own_module(), os::resource_type::icon,
                                             group[0].image_id, neutral_language);
        ASSERT_TRUE(image);
        pictures.emplace(image->begin(), image->end());
    }
    EXPECT_EQ(pictures.size(), std::size(flag_icons)) << "two languages share a picture";
}

TEST(dialog_resources, the_banner_is_87_by_171_pixels_with_a_palette) {
    const auto bytes = os::find_resource(os::own_module(), os::resource_type::bitmap, IDB_BANNER,
                                         neutral_language);
    ASSERT_TRUE(bytes);
    const auto header = read_bitmap_header(*bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 87);
    EXPECT_EQ(header->height, 171);
    EXPECT_EQ(header->bit_count, 8);
    EXPECT_EQ(header->colours_used, 256u);
    // Header, palette, then rows padded to 4 bytes.
    EXPECT_EQ(header->size, 40u + 256 * 4 + 88 * 171);
}

} // namespace
