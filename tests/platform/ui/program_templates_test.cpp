// The program's own frame and start page, made from the templates in its resources.

#include "platform/os/resources.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/static_control.h"

#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

namespace ui = platform::ui;

namespace {

constexpr int frame_template = 102;
constexpr int start_page_template = 132;

ui::dialog_template program_template(int id) {
    auto loaded = ui::load_dialog_template(platform::os::own_module(), id);
    if (!loaded)
        throw std::system_error(loaded.error());
    return std::move(*loaded);
}

struct placed_control {
    int id;
    ui::rect pixels;
};

TEST(program_templates, the_frame_and_its_start_page_in_pixels) {
    qv_test::headless_session headless;
    auto frame = ui::create_dialog(headless.session, program_template(frame_template), nullptr);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->client_rect().width(), 410);
    EXPECT_EQ(frame->client_rect().height(), 226);

    // Dialog units to pixels at base units 6 x 13, position and size rounded each on its own.
    const placed_control frame_controls[] = {
        {1, {207, 192, 306, 215}},  // Next: 138, 118, 66, 14
        {3, {104, 192, 203, 215}},  // Back: 69, 118, 66, 14
        {2, {324, 192, 399, 215}},  // Exit: 216, 118, 50, 14
        {1005, {-5, 0, 96, 182}},   // banner background: -3, 0, 67, 112
        {1002, {2, 182, 410, 184}}, // separator: 1, 112, 272, 1
    };
    for (const auto& [id, pixels] : frame_controls) {
        const ui::window* control = frame->child(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(control->rect(), pixels) << id;
    }
    EXPECT_EQ(frame->default_id(), 1);
    EXPECT_EQ(dynamic_cast<ui::button&>(*frame->child(1)).kind(), ui::button_kind::default_push);
    EXPECT_EQ(dynamic_cast<ui::static_control&>(*frame->child(1005)).kind(),
              ui::static_kind::white_rectangle);
    EXPECT_EQ(dynamic_cast<ui::static_control&>(*frame->child(1002)).kind(),
              ui::static_kind::etched_line);

    ui::dialog& page = ui::create_child_dialog(*frame, program_template(start_page_template));
    const placed_control page_controls[] = {
        {1022, {11, 15, 223, 28}},   // label: 7, 9, 141, 8
        {1023, {224, 11, 367, 222}}, // language list: 149, 7, 95, 130
        {1020, {11, 44, 367, 59}},   // copyright: 7, 27, 237, 9
        {1016, {11, 62, 367, 106}},  // information: 7, 38, 237, 27
        {1003, {11, 112, 367, 125}}, // status: 7, 69, 237, 8
    };
    for (const auto& [id, pixels] : page_controls) {
        const ui::window* control = page.child(id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_EQ(control->rect(), pixels) << id;
    }
    EXPECT_FALSE(page.child(1020)->is_enabled());
    EXPECT_NE(dynamic_cast<ui::combo_box_ex*>(page.child(1023)), nullptr);
    EXPECT_EQ(page.child(1022)->text(), L"Select Language");
}

} // namespace
