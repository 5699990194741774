#include "wizard/show_message.h"

#include "wizard/framework_providers.h"
#include "wizard/message_box_providers.h"

#include "tests/platform/framework/framework_fixture.h"

#include <gtest/gtest.h>

namespace {

namespace ui = platform::ui;
namespace action = ui::user_action;
using qv_test::framework_session;

// Providers are process-wide: each test starts and ends without any.
class show_message_test : public ::testing::Test {
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }
    static void clear() {
        qv::set_caption_provider({});
        qv::set_icon_provider({});
        qv::set_owner_provider({});
        qv::set_modal_notifier({});
    }
};

TEST_F(show_message_test, a_type_without_icon_gets_the_icon_of_its_buttons) {
    struct {
        std::uint32_t type;
        std::uint32_t shown;
    } const cases[] = {
        {ui::mb::ok, 0x30},
        {ui::mb::ok_cancel, 0x31},
        {ui::mb::yes_no, 0x24},
        {ui::mb::yes_no_cancel, 0x23},
        {ui::mb::retry_cancel, 0x05},
        {ui::mb::abort_retry_ignore, 0x02},
        {ui::mb::ok | ui::mb::icon_asterisk, 0x40},
        {ui::mb::yes_no | ui::mb::icon_hand | ui::mb::default_button2, 0x114},
    };
    framework_session ui_session;
    for (const auto& c : cases)
        qv::show_message(std::wstring(L"Text"), c.type);
    ASSERT_EQ(ui_session.input.boxes.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ui_session.input.boxes[i].type, cases[i].shown) << std::hex << cases[i].type;
}

TEST_F(show_message_test, texts_and_captions_are_strings_or_program_string_ids) {
    framework_session ui_session;
    qv::show_message(std::wstring(L"Plain"), ui::mb::ok);
    qv::set_caption_provider([] { return std::wstring(L"Provided"); });
    qv::show_message(std::uint32_t{2126}, ui::mb::ok);
    qv::show_message(std::wstring(L"Captioned"), ui::mb::ok, std::wstring(L"Given"));
    const auto& boxes = ui_session.input.boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, L"");
    EXPECT_EQ(boxes[1].text,
              L"You should have Administrator Rights in order to proceed to Installation.");
    EXPECT_EQ(boxes[1].caption, L"Provided");
    EXPECT_EQ(boxes[2].caption, L"Given");
}

TEST_F(show_message_test, report_error_shows_the_system_text_with_the_exclamation) {
    framework_session ui_session;
    qv::report_error(170);
    qv::report_error(0x8000FFFFu);
    const auto& boxes = ui_session.input.boxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"The requested resource is in use.");
    EXPECT_EQ(boxes[0].type, ui::mb::icon_exclamation);
    EXPECT_EQ(boxes[1].text, L"Catastrophic failure");
}

TEST_F(show_message_test, without_owner_provider_the_running_dialog_owns_the_box) {
    framework_session ui_session;
    qv_test::exchange_page page;
    qv_test::frame_dialog frame(page, IDD_END_PAGE);
    const ui::window* frame_window = nullptr;
    frame.on_back = [&](qv_test::frame_dialog& f) {
        frame_window = f.GetSafeHwnd();
        qv::show_message(std::wstring(L"In the frame"), ui::mb::ok);
        f.GetSafeHwnd()->set_ex_style(f.GetSafeHwnd()->ex_style() | ui::ws_ex::layout_rtl);
        qv::show_message(std::wstring(L"Right to left"), ui::mb::ok);
    };
    ui_session.input.script = {action::click{IDC_BACK}, action::click{IDC_EXIT}};
    frame.DoModal();
    qv::show_message(std::wstring(L"After"), ui::mb::ok);

    const auto& boxes = ui_session.input.boxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].owner, frame_window);
    EXPECT_EQ(boxes[0].type & ui::mb::rtl_reading, 0u);
    EXPECT_EQ(boxes[1].owner, frame_window);
    EXPECT_EQ(boxes[1].type, ui::mb::icon_exclamation | ui::mb::rtl_reading);
    // The frame is gone: nothing owns the box, which then never reads right to left.
    EXPECT_EQ(boxes[2].owner, nullptr);
    EXPECT_EQ(boxes[2].type, ui::mb::icon_exclamation);
}

TEST_F(show_message_test, the_providers_choose_the_owner_and_hear_of_the_box) {
    framework_session ui_session;
    qv_test::exchange_page page;
    qv_test::frame_dialog frame(page, IDD_END_PAGE);
    std::vector<qv::modeless_windows> told;
    qv::set_modal_notifier([&told](qv::modeless_windows state) { told.push_back(state); });
    bool frame_enabled_after = false;
    frame.on_back = [&](qv_test::frame_dialog& f) {
        ui::window& top = *f.GetSafeHwnd();
        ui_session.input.main_window = &top;
        // The provider hands back the frame as the window it disabled, with no owner.
        qv::set_owner_provider([&top] {
            top.disable();
            return qv::message_box_owner{std::nullopt, qv::handle_of(top)};
        });
        qv::show_message(std::wstring(L"Provided"), ui::mb::ok);
        frame_enabled_after = top.is_enabled();
    };
    ui_session.input.script = {action::click{IDC_BACK}, action::click{IDC_EXIT}};
    frame.DoModal();

    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    EXPECT_EQ(ui_session.input.boxes[0].owner, nullptr);
    EXPECT_FALSE(ui_session.input.boxes[0].main_enabled);
    EXPECT_TRUE(frame_enabled_after);
    EXPECT_EQ(told, (std::vector{qv::modeless_windows::disabled, qv::modeless_windows::enabled}));
}

TEST_F(show_message_test, framework_providers_caption_with_the_application_and_own_by_its_dialog) {
    framework_session ui_session;
    qv::install_framework_providers();
    EXPECT_FALSE(qv::provided_icon());
    qv_test::exchange_page page;
    qv_test::frame_dialog frame(page, IDD_END_PAGE);
    ui_session.app.m_pMainWnd = &frame;
    bool main_enabled_after = false;
    frame.on_back = [&](qv_test::frame_dialog& f) {
        ui_session.input.main_window = f.GetSafeHwnd();
        qv::show_message(std::wstring(L"Framework"), ui::mb::yes_no);
        main_enabled_after = f.GetSafeHwnd()->is_enabled();
    };
    ui_session.input.script = {action::click{IDC_BACK}, action::click{IDC_EXIT}};
    frame.DoModal();

    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    const auto& box = ui_session.input.boxes[0];
    EXPECT_EQ(box.caption, L"Installer – Varnolis 2.32g");
    EXPECT_EQ(box.owner, ui_session.input.main_window);
    EXPECT_EQ(box.type, ui::mb::yes_no | ui::mb::icon_question);
    EXPECT_FALSE(box.owner_enabled);
    EXPECT_TRUE(main_enabled_after);
}

TEST_F(show_message_test, without_a_ui_session_nothing_is_shown) {
    EXPECT_EQ(qv::show_message(std::wstring(L"Nowhere"), ui::mb::ok), 0);
}

} // namespace
