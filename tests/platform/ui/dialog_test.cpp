#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/edit.h"
#include "platform/ui/focus.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

using namespace platform::ui;
using qv_test::item;
using qv_test::recorded_command;

constexpr std::uint32_t frame_style = 0x80C800C0u | ds::set_font;

dialog_template frame_template() {
    dialog_template source;
    source.style = frame_style;
    source.cx = 273;
    source.cy = 139;
    source.title = std::wstring(L"Frame");
    source.font = dialog_font{8, 400, false, 1, L"MS Shell Dlg"};
    source.items = {
        item(0x80, 1, bs::def_push_button | ws::tabstop, 138, 118, 66, 14, L"Next >>"),
        item(0x80, 3, bs::push_button | ws::tabstop, 69, 118, 66, 14, L"<< Back"),
        item(0x80, 2, bs::push_button | ws::tabstop, 216, 118, 50, 14, L"Exit"),
        item(0x82, 1005, ss::white_rect, -3, 0, 67, 112),
        item(0x82, -1, ss::bitmap, 3, 3, 58, 105, std::uint16_t{137}),
        item(0x82, 1002, ss::etched_horz, 1, 112, 272, 1),
    };
    return source;
}

dialog_template page_template() {
    dialog_template source;
    source.style = ws::child | ds::control | ds::set_font;
    source.cx = 209;
    source.cy = 112;
    source.font = dialog_font{8, 400, false, 1, L"MS Shell Dlg"};
    source.items = {
        item(0x80, 1010, bs::auto_radio_button | ws::group | ws::tabstop, 7, 7, 80, 10, L"A"),
        item(0x80, 1011, bs::auto_radio_button, 7, 19, 80, 10, L"B"),
        item(0x80, 1012, bs::auto_radio_button, 7, 31, 80, 10, L"C"),
        item(0x80, 1020, bs::auto_check_box | ws::group | ws::tabstop, 7, 43, 80, 10, L"Check"),
        item(0x80, 1040, bs::auto_radio_button | ws::group, 100, 7, 80, 10, L"X"),
        item(0x80, 1041, bs::auto_radio_button, 100, 19, 80, 10, L"Y"),
        item(0x81, 1030, ws::tabstop | ws::border, 7, 55, 150, 12),
        item(L"ComboBoxEx32", 1001, ws::tabstop | 0x3, 7, 70, 100, 120),
        item(L"msctls_progress32", 1014, 0, 7, 90, 205, 10),
    };
    return source;
}

template <class Control> Control& control(window& in, int id) {
    auto* found = dynamic_cast<Control*>(find_control(in, id));
    if (!found)
        throw std::runtime_error("no such control");
    return *found;
}

// A frame with one page shown in it, each with a recording handler.
struct wizard {
    qv_test::headless_session ui;
    std::unique_ptr<dialog> frame = create_dialog(ui.session, frame_template(), nullptr);
    dialog& page = create_child_dialog(*frame, page_template());
    qv_test::recording_handler frame_handler;
    qv_test::recording_handler page_handler;

    wizard() {
        frame->set_handler(&frame_handler);
        page.set_handler(&page_handler);
        frame->show();
        page.show();
    }
};

class DialogTest : public ::testing::Test, protected wizard {};

TEST_F(DialogTest, ControlsHaveTheirItemsPixelRectanglesAndStates) {
    EXPECT_EQ(frame->title(), L"Frame");
    EXPECT_EQ(frame->rect(), (rect{0, 0, 410, 226}));
    EXPECT_EQ(frame->default_id(), 1);

    auto& next = control<button>(*frame, 1);
    EXPECT_EQ(next.rect(), (rect{207, 192, 306, 215}));
    EXPECT_EQ(next.kind(), button_kind::default_push);
    EXPECT_EQ(next.text(), L"Next >>");
    EXPECT_EQ(control<button>(*frame, 3).kind(), button_kind::push);

    auto& banner = control<static_control>(*frame, 1005);
    EXPECT_EQ(banner.kind(), static_kind::white_rectangle);
    EXPECT_EQ(banner.rect(), (rect{-5, 0, 96, 182}));
    auto& picture = control<static_control>(*frame, -1);
    EXPECT_EQ(picture.kind(), static_kind::bitmap);
    EXPECT_EQ(picture.image(), 137);
    EXPECT_EQ(picture.text(), L"");
    EXPECT_EQ(control<static_control>(*frame, 1002).kind(), static_kind::etched_line);

    EXPECT_EQ(page.parent(), frame.get());
    EXPECT_TRUE(page.ex_style() & ws_ex::control_parent);
    EXPECT_EQ(page.rect(), (rect{0, 0, 314, 182}));
    EXPECT_EQ(control<button>(page, 1010).kind(), button_kind::radio);
    EXPECT_EQ(control<button>(page, 1020).kind(), button_kind::check_box);
    EXPECT_EQ(control<button>(page, 1020).check(), check_state::unchecked);
    EXPECT_EQ(control<edit>(page, 1030).rect(), (rect{11, 89, 236, 109}));
    EXPECT_EQ(control<combo_box_ex>(page, 1001).class_name(), L"ComboBoxEx32");
    EXPECT_EQ(control<progress_bar>(page, 1014).range(), (progress_range{0, 100}));
    EXPECT_TRUE(control<button>(page, 1010).is_shown());
}

TEST_F(DialogTest, RadioClickChecksOnlyWithinItsGroupAndNotifiesItsDialog) {
    auto& a = control<button>(page, 1010);
    auto& b = control<button>(page, 1011);
    auto& c = control<button>(page, 1012);
    auto& x = control<button>(page, 1040);
    x.set_check(check_state::checked);
    a.set_check(check_state::checked);

    ASSERT_TRUE(b.click());
    EXPECT_EQ(a.check(), check_state::unchecked);
    EXPECT_EQ(b.check(), check_state::checked);
    EXPECT_EQ(c.check(), check_state::unchecked);
    EXPECT_EQ(x.check(), check_state::checked);

    ASSERT_TRUE(c.click());
    EXPECT_EQ(b.check(), check_state::unchecked);
    EXPECT_EQ(c.check(), check_state::checked);
    EXPECT_EQ(page_handler.commands, (std::vector<recorded_command>{{1011, notify::bn_clicked},
                                                                    {1012, notify::bn_clicked}}));
    EXPECT_TRUE(frame_handler.commands.empty());
    EXPECT_EQ(frame->focus(), &c);
}

TEST_F(DialogTest, CheckBoxTogglesAndDisabledOrHiddenControlsIgnoreInput) {
    auto& check = control<button>(page, 1020);
    ASSERT_TRUE(check.click());
    EXPECT_EQ(check.check(), check_state::checked);
    ASSERT_TRUE(check.click());
    EXPECT_EQ(check.check(), check_state::unchecked);

    check.disable();
    EXPECT_FALSE(check.click());
    control<edit>(page, 1030).hide();
    EXPECT_FALSE(control<edit>(page, 1030).type(L"x"));
    page.disable();
    EXPECT_FALSE(control<button>(page, 1010).click());
    EXPECT_EQ(check.check(), check_state::unchecked);
    EXPECT_EQ(page_handler.commands.size(), 2u);
}

TEST_F(DialogTest, TypingAndPickingNotifyTheirDialog) {
    auto& combo = control<combo_box_ex>(page, 1001);
    combo.insert_item(-1, {L"English", 0, 0, 9});
    combo.insert_item(-1, {L"Deutsch", 1, 1, 7});
    ASSERT_TRUE(control<edit>(page, 1030).type(L"C:\\Program Files\\Varnolis"));
    ASSERT_TRUE(combo.pick(1));
    EXPECT_FALSE(combo.pick(2));
    EXPECT_EQ(control<edit>(page, 1030).text(), L"C:\\Program Files\\Varnolis");
    EXPECT_EQ(combo.selection(), 1);
    EXPECT_EQ(combo.text(), L"Deutsch");
    EXPECT_EQ(
        page_handler.commands,
        (std::vector<recorded_command>{{1030, notify::en_change}, {1001, notify::cbn_selchange}}));
}

TEST(DialogKeys, EnterAndEscapeReachTheTopLevelDialog) {
    struct key_case {
        const char* what;
        std::function<void(wizard&)> arrange;
        dialog_key key;
        std::vector<recorded_command> expected;
    };
    const key_case cases[] = {
        {"default button", [](wizard&) {}, dialog_key::enter, {{1, notify::bn_clicked}}},
        {"focused push button",
         [](wizard& w) { ASSERT_TRUE(set_focus(control<button>(*w.frame, 3))); },
         dialog_key::enter,
         {{3, notify::bn_clicked}}},
        {"focused edit of a page",
         [](wizard& w) { ASSERT_TRUE(set_focus(control<edit>(w.page, 1030))); },
         dialog_key::enter,
         {{1, notify::bn_clicked}}},
        {"moved default",
         [](wizard& w) { w.frame->set_default_id(2); },
         dialog_key::enter,
         {{2, notify::bn_clicked}}},
        {"disabled default",
         [](wizard& w) { control<button>(*w.frame, 1).disable(); },
         dialog_key::enter,
         {}},
        {"escape", [](wizard&) {}, dialog_key::escape, {{idcancel, notify::bn_clicked}}},
        {"escape on a page's control",
         [](wizard& w) { ASSERT_TRUE(set_focus(control<button>(w.page, 1020))); },
         dialog_key::escape,
         {{idcancel, notify::bn_clicked}}},
    };
    for (const auto& c : cases) {
        wizard w;
        c.arrange(w);
        press_key(*w.frame, c.key);
        EXPECT_EQ(w.frame_handler.commands, c.expected) << c.what;
        EXPECT_TRUE(w.page_handler.commands.empty()) << c.what;
    }
}

TEST_F(DialogTest, EnterWithoutDefaultButtonSendsIdOk) {
    dialog_template plain;
    plain.style = frame_style;
    plain.items = {item(0x80, 3, ws::tabstop, 0, 0, 10, 10, L"Push")};
    auto bare = create_dialog(ui.session, plain, nullptr);
    qv_test::recording_handler handler;
    bare->set_handler(&handler);
    bare->show();
    EXPECT_FALSE(bare->default_id());
    press_key(*bare, dialog_key::enter);
    EXPECT_EQ(handler.commands, (std::vector<recorded_command>{{idok, notify::bn_clicked}}));
}

TEST_F(DialogTest, SetDefaultIdMovesTheDefaultStyle) {
    frame->set_default_id(3);
    EXPECT_EQ(frame->default_id(), 3);
    EXPECT_EQ(control<button>(*frame, 1).kind(), button_kind::push);
    EXPECT_EQ(control<button>(*frame, 3).kind(), button_kind::default_push);
    EXPECT_EQ(control<button>(*frame, 3).style() & bs::type_mask, bs::def_push_button);
}

TEST_F(DialogTest, FocusOnlyGoesToShownEnabledControlsOfTheDialog) {
    auto& edit_box = control<edit>(page, 1030);
    EXPECT_TRUE(set_focus(edit_box));
    EXPECT_EQ(focused(page), &edit_box);

    auto& back = control<button>(*frame, 3);
    back.disable();
    EXPECT_FALSE(set_focus(back));
    EXPECT_EQ(frame->focus(), &edit_box);

    edit_box.disable();
    EXPECT_EQ(frame->focus(), nullptr);
    edit_box.enable();
    ASSERT_TRUE(set_focus(edit_box));
    page.hide();
    EXPECT_EQ(frame->focus(), nullptr);
    EXPECT_FALSE(set_focus(edit_box));

    qv_test::headless_session other;
    auto stranger = create_dialog(other.session, frame_template(), nullptr);
    EXPECT_FALSE(frame->set_focus(control<button>(*stranger, 1)));
}

TEST_F(DialogTest, TabRunsThroughTabStopsOfTheFrameAndItsShownPage) {
    const std::vector<window*> expected = {
        &control<button>(*frame, 1),       &control<button>(*frame, 3),
        &control<button>(*frame, 2),       &control<button>(page, 1010),
        &control<button>(page, 1020),      &control<edit>(page, 1030),
        &control<combo_box_ex>(page, 1001)};
    EXPECT_EQ(tab_order(*frame), expected);

    control<edit>(page, 1030).set_text(L"abc");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        press_key(*frame, dialog_key::tab);
        EXPECT_EQ(frame->focus(), expected[i]) << i;
    }
    EXPECT_EQ(control<edit>(page, 1030).selection(), (edit_selection{0, 3}));
    press_key(*frame, dialog_key::tab);
    EXPECT_EQ(frame->focus(), expected.front());
    press_key(*frame, dialog_key::shift_tab);
    EXPECT_EQ(frame->focus(), expected.back());

    control<button>(*frame, 3).disable();
    control<edit>(page, 1030).hide();
    ASSERT_TRUE(set_focus(control<button>(*frame, 1)));
    press_key(*frame, dialog_key::tab);
    EXPECT_EQ(frame->focus(), &control<button>(*frame, 2));
    page.hide();
    press_key(*frame, dialog_key::tab);
    EXPECT_EQ(frame->focus(), &control<button>(*frame, 1));
}

TEST_F(DialogTest, SystemMenuEditsByCommand) {
    system_menu& menu = frame->menu();
    ASSERT_EQ(menu.items().size(), 3u);
    EXPECT_EQ(menu.items()[0].command, sc::move);
    EXPECT_EQ(menu.items()[1].kind, menu_item_kind::separator);
    EXPECT_EQ(menu.items()[2].command, sc::close);

    constexpr std::uint32_t about = 0x10;
    menu.append_separator();
    menu.append(about, L"&About 'Installer'...");
    EXPECT_EQ(menu.items().size(), 5u);
    EXPECT_EQ(menu.items()[3].kind, menu_item_kind::separator);
    EXPECT_TRUE(menu.set_text(about, L"...About"));
    EXPECT_EQ(menu.find(about)->text, L"...About");

    EXPECT_EQ(menu.set_state(sc::close, menu_item_state::grayed), menu_item_state::enabled);
    EXPECT_EQ(menu.find(sc::close)->state, menu_item_state::grayed);
    EXPECT_EQ(menu.set_state(sc::close, menu_item_state::enabled), menu_item_state::grayed);

    EXPECT_TRUE(menu.remove(sc::move));
    EXPECT_FALSE(menu.remove(sc::move));
    EXPECT_FALSE(menu.find(sc::move));
    EXPECT_FALSE(menu.set_state(0x1234, menu_item_state::grayed));
    EXPECT_FALSE(menu.set_text(0x1234, L"x"));
    EXPECT_EQ(menu.items().size(), 4u);
}

TEST_F(DialogTest, SystemMenuOfAResizableWindowWithBoxes) {
    const auto menu =
        system_menu::for_style(ws::sysmenu | ws::thickframe | ws::minimizebox | ws::maximizebox);
    std::vector<std::uint32_t> commands;
    for (const auto& entry : menu.items())
        commands.push_back(entry.command);
    EXPECT_EQ(commands, (std::vector<std::uint32_t>{sc::restore, sc::move, sc::size, sc::minimize,
                                                    sc::maximize, 0, sc::close}));
    EXPECT_EQ(menu.find(sc::restore)->state, menu_item_state::grayed);
}

TEST_F(DialogTest, CloseCommandBecomesCancelUnlessHandled) {
    frame->system_command(sc::close);
    EXPECT_EQ(frame_handler.commands,
              (std::vector<recorded_command>{{idcancel, notify::bn_clicked}}));
    frame_handler.handles_system_commands = true;
    frame->system_command(sc::close);
    EXPECT_EQ(frame_handler.commands.size(), 1u);
    EXPECT_EQ(frame_handler.system_commands, (std::vector<std::uint32_t>{sc::close, sc::close}));
}

TEST_F(DialogTest, MovingAndSizingChangeOnlyTheRectangle) {
    auto& log = control<edit>(page, 1030);
    log.set_rect({1, 2, 30, 40});
    log.move_to(10, 20);
    EXPECT_EQ(log.rect(), (rect{10, 20, 39, 58}));
    log.resize(100, 50);
    EXPECT_EQ(log.rect(), (rect{10, 20, 110, 70}));
    EXPECT_EQ(log.client_rect(), (rect{0, 0, 98, 48}));
    EXPECT_FALSE(frame->right_to_left());
    frame->set_ex_style(frame->ex_style() | ws_ex::layout_rtl);
    EXPECT_TRUE(frame->right_to_left());
}

} // namespace

namespace {

TEST_F(DialogTest, ArrowKeysMoveTheChoiceInsideARadioGroup) {
    auto& a = control<button>(page, 1010);
    auto& b = control<button>(page, 1011);
    auto& c = control<button>(page, 1012);
    ASSERT_TRUE(set_focus(a));
    struct step {
        dialog_key key;
        button* focused;
    };
    for (const step& s :
         {step{dialog_key::next_in_group, &b}, step{dialog_key::next_in_group, &c},
          step{dialog_key::next_in_group, &a}, step{dialog_key::previous_in_group, &c}}) {
        press_key(*frame, s.key);
        EXPECT_EQ(frame->focus(), s.focused);
        for (button* radio : {&a, &b, &c})
            EXPECT_EQ(radio->check() == check_state::checked, radio == s.focused);
    }
    // Each move is the user's click: the page hears it.
    EXPECT_EQ(page_handler.commands.size(), 4u);
    EXPECT_EQ(page_handler.commands.back(), (recorded_command{1012, notify::bn_clicked}));

    // A control that cannot take the focus is passed over; the group's end is never crossed.
    b.disable();
    ASSERT_TRUE(set_focus(a));
    press_key(*frame, dialog_key::next_in_group);
    EXPECT_EQ(frame->focus(), &c);
    auto& y = control<button>(page, 1041);
    ASSERT_TRUE(set_focus(control<button>(page, 1040)));
    press_key(*frame, dialog_key::next_in_group);
    EXPECT_EQ(frame->focus(), &y);
    press_key(*frame, dialog_key::previous_in_group);
    EXPECT_EQ(frame->focus(), &control<button>(page, 1040));
    EXPECT_EQ(control<button>(page, 1020).check(), check_state::unchecked);
}

TEST_F(DialogTest, ArrowKeysLeaveALoneControlAndNonButtonsAlone) {
    auto& check = control<button>(page, 1020);
    ASSERT_TRUE(set_focus(check));
    press_key(*frame, dialog_key::next_in_group);
    EXPECT_EQ(frame->focus(), &check);
    EXPECT_EQ(check.check(), check_state::unchecked);

    auto& edit_box = control<edit>(page, 1030);
    ASSERT_TRUE(set_focus(edit_box));
    press_key(*frame, dialog_key::previous_in_group);
    EXPECT_EQ(frame->focus(), &edit_box);
    EXPECT_TRUE(page_handler.commands.empty());
}

} // namespace
