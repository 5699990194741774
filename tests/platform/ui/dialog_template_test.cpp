#include "platform/ui/dialog_template.h"

#include "platform/os/resources.h"
#include "platform/ui/styles.h"
#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;
using platform::os::win32_error;
using qv_test::item;
using qv_test::template_writer;

dialog_template every_kind_of_item() {
    dialog_template source;
    source.help_id = 77;
    source.ex_style = ws_ex::layout_rtl;
    source.style = 0x80C800C0u | ds::set_font;
    source.x = -2;
    source.y = 3;
    source.cx = 273;
    source.cy = 139;
    source.menu = std::uint16_t{5};
    source.window_class = std::wstring(L"Private");
    source.title = std::wstring(L"Setup \u2013 \u00e9t\u00e9");
    source.font = dialog_font{8, 400, true, 1, L"MS Shell Dlg"};
    source.items = {
        item(0x80, 1, bs::def_push_button | ws::tabstop, 138, 118, 66, 14, L"Next >>"),
        item(0x80, 1010, bs::auto_radio_button | ws::group, 7, 7, 80, 10, L"One"),
        item(0x81, 1015, es::multiline | es::read_only, 7, 7, 205, 54),
        item(0x82, -1, ss::bitmap, 3, 3, 58, 105, std::uint16_t{137}),
        item(0x82, 1002, ss::etched_horz, 1, 112, 272, 1),
        item(0x83, 1020, 0, 0, 0, 10, 10),
        item(0x84, 1021, 0, 0, 0, 10, 10),
        item(0x85, 1022, 0, 0, 0, 10, 10),
        item(L"ComboBoxEx32", 1001, 0x3, 7, 20, 100, 120),
        item(L"msctls_progress32", 1014, 0, 7, 67, 205, 10),
    };
    source.items[2].help_id = 9;
    source.items[2].ex_style = ws_ex::client_edge;
    source.items[5].extra = {std::byte{1}, std::byte{2}, std::byte{3}};
    return source;
}

TEST(DialogTemplate, ReadsEveryFieldOfTheDialogAndItsItems) {
    const dialog_template source = every_kind_of_item();
    const auto parsed = parse_dialog_template(template_writer::write(source));
    ASSERT_TRUE(parsed) << parsed.error().message();
    EXPECT_EQ(*parsed, source);
}

TEST(DialogTemplate, WithoutSetFontThereIsNoFont) {
    dialog_template source;
    source.style = ws::child;
    source.items = {item(0x80, 3, 0, 1, 2, 3, 4, L"<< Back")};
    const auto parsed = parse_dialog_template(template_writer::write(source));
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->font);
    EXPECT_EQ(*parsed, source);
}

TEST(DialogTemplate, ClassNamesOfOrdinalsAndStrings) {
    const std::pair<template_name, std::wstring> cases[] = {
        {std::uint16_t{0x80}, L"Button"},
        {std::uint16_t{0x81}, L"Edit"},
        {std::uint16_t{0x82}, L"Static"},
        {std::uint16_t{0x83}, L"ListBox"},
        {std::uint16_t{0x84}, L"ScrollBar"},
        {std::uint16_t{0x85}, L"ComboBox"},
        {std::uint16_t{0x86}, L""},
        {std::wstring(L"ComboBoxEx32"), L"ComboBoxEx32"},
        {std::monostate{}, L""},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(class_name_of(name), expected);
}

TEST(DialogTemplate, EveryTruncationFailsCleanly) {
    const auto bytes = template_writer::write(every_kind_of_item());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        const auto parsed = parse_dialog_template(std::span(bytes).first(length));
        ASSERT_FALSE(parsed) << length;
        EXPECT_EQ(parsed.error(), make_error_code(win32_error::invalid_data)) << length;
    }
}

TEST(DialogTemplate, MalformedHeadersAndFieldsFail) {
    const auto good = template_writer::write(every_kind_of_item());
    struct malformation {
        const char* what;
        std::size_t offset;
        std::byte value;
    };
    const malformation cases[] = {
        {"version 2", 0, std::byte{2}},
        {"not extended", 2, std::byte{0x00}},
        // The item count grows past the items that are there.
        {"item count", 16, std::byte{200}},
    };
    for (const auto& c : cases) {
        auto bytes = good;
        bytes[c.offset] = c.value;
        EXPECT_FALSE(parse_dialog_template(bytes)) << c.what;
    }

    // A title that runs to the end without its terminating NUL.
    dialog_template unterminated;
    unterminated.title = std::wstring(L"abc");
    auto bytes = template_writer::write(unterminated);
    bytes.resize(bytes.size() - 2);
    EXPECT_FALSE(parse_dialog_template(bytes));

    // Extra data longer than what remains.
    dialog_template extra;
    extra.items = {item(0x80, 1, 0, 0, 0, 1, 1)};
    extra.items[0].extra = {std::byte{1}, std::byte{2}};
    bytes = template_writer::write(extra);
    bytes[bytes.size() - 4] = std::byte{9};
    EXPECT_FALSE(parse_dialog_template(bytes));
}

TEST(DialogTemplate, MissingResourceIsNotFound) {
    const auto loaded = load_dialog_template(platform::os::own_module(), 0x7ABC);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.error(), make_error_code(win32_error::resource_name_not_found));
}

} // namespace
