#include "platform/ui/modal_loop.h"

#include "platform/ui/button.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/edit.h"
#include "platform/ui/renderer_choice.h"
#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace platform::ui;
using platform::os::win32_error;
using qv_test::item;
using qv_test::recorded_command;

dialog_template options_template() {
    dialog_template source;
    source.style = 0x80C800C0u;
    source.cx = 200;
    source.cy = 100;
    source.title = std::wstring(L"Options");
    source.items = {
        item(0x81, 1030, ws::tabstop, 7, 7, 150, 12),
        item(0x80, 1020, bs::auto_check_box | ws::tabstop, 7, 25, 80, 10, L"Desktop"),
        item(0x80, 1, bs::def_push_button | ws::tabstop, 90, 80, 50, 14, L"OK"),
        item(0x80, 2, ws::tabstop, 145, 80, 50, 14, L"Cancel"),
    };
    return source;
}

struct ModalLoop : ::testing::Test {
    qv_test::headless_session ui;
    std::unique_ptr<dialog> owner = create_dialog(ui.session, options_template(), nullptr);
    std::unique_ptr<dialog> modal = create_dialog(ui.session, options_template(), owner.get());
    qv_test::recording_handler handler;

    void SetUp() override {
        owner->show();
        modal->set_handler(&handler);
    }
};

TEST_F(ModalLoop, DriverActionsRunUntilTheDialogEndsWithItsResult) {
    using namespace user_action;
    ui.input.script = {type_text{1030, L"Folder"}, set_check{1020, check_state::checked},
                       set_check{1020, check_state::checked}, press{dialog_key::enter}};
    int turns = 0;
    ui.input.before_turn = [&](dialog& active) {
        ++turns;
        EXPECT_EQ(&active, modal.get());
        EXPECT_EQ(ui.session.active_modal(), modal.get());
        EXPECT_TRUE(modal->is_visible());
        EXPECT_FALSE(owner->is_enabled());
    };

    const auto result = run_modal(*modal);
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(*result, idok);
    EXPECT_EQ(turns, 4);
    EXPECT_EQ(dynamic_cast<edit&>(*modal->child(1030)).text(), L"Folder");
    EXPECT_EQ(dynamic_cast<button&>(*modal->child(1020)).check(), check_state::checked);
    EXPECT_EQ(handler.commands, (std::vector<recorded_command>{{1030, notify::en_change},
                                                               {1020, notify::bn_clicked},
                                                               {idok, notify::bn_clicked}}));
    EXPECT_TRUE(owner->is_enabled());
    EXPECT_FALSE(modal->is_visible());
    EXPECT_EQ(ui.session.active_modal(), nullptr);
}

TEST_F(ModalLoop, FirstTabStopTakesTheFocusAndCloseCancels) {
    ui.input.before_turn = [&](dialog& active) { EXPECT_EQ(active.focus(), active.child(1030)); };
    ui.input.script = {user_action::close{}};
    EXPECT_EQ(*run_modal(*modal), idcancel);
}

TEST_F(ModalLoop, GivesUpWhenTheDriverHasNothingMore) {
    ui.input.script = {user_action::click{1020}};
    const auto result = run_modal(*modal);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), make_error_code(win32_error::cancelled));
    EXPECT_TRUE(owner->is_enabled());
    EXPECT_FALSE(modal->is_visible());
}

TEST_F(ModalLoop, OwnerDisabledBeforeStaysDisabled) {
    owner->disable();
    ui.input.script = {user_action::press{dialog_key::escape}};
    EXPECT_EQ(*run_modal(*modal), idcancel);
    EXPECT_FALSE(owner->is_enabled());
}

TEST_F(ModalLoop, EndedBeforeTheLoopReturnsWithoutShowing) {
    modal->end(42);
    ui.input.before_turn = [](dialog&) { ADD_FAILURE() << "the driver was asked"; };
    EXPECT_EQ(*run_modal(*modal), 42);
    EXPECT_FALSE(modal->is_visible());
    EXPECT_TRUE(owner->is_enabled());
}

// A command of the outer dialog opens an inner one, as a message box does.
class nesting_handler : public qv_test::recording_handler {
public:
    dialog* inner = nullptr;
    std::intptr_t inner_result = 0;

    void command(dialog& target, int id, std::uint16_t notification) override {
        if (id == 1020) {
            inner_result = *run_modal(*inner);
            return;
        }
        recording_handler::command(target, id, notification);
    }
};

TEST_F(ModalLoop, NestedModalDisablesTheOuterDialogWhileItRuns) {
    auto inner = create_dialog(ui.session, options_template(), modal.get());
    qv_test::recording_handler inner_handler;
    inner->set_handler(&inner_handler);
    nesting_handler outer_handler;
    outer_handler.inner = inner.get();
    modal->set_handler(&outer_handler);

    std::vector<std::pair<dialog*, bool>> seen;
    ui.input.before_turn = [&](dialog& active) { seen.emplace_back(&active, modal->is_enabled()); };
    ui.input.script = {user_action::click{1020}, user_action::press{dialog_key::escape},
                       user_action::click{1}};
    EXPECT_EQ(*run_modal(*modal), idok);
    EXPECT_EQ(outer_handler.inner_result, idcancel);
    EXPECT_EQ(seen, (std::vector<std::pair<dialog*, bool>>{
                        {modal.get(), true}, {inner.get(), false}, {modal.get(), true}}));
}

TEST_F(ModalLoop, TheDriverSeesWindowChanges) {
    auto& box = *modal->child(1030);
    box.set_text(L"x");
    modal->child(1)->disable();
    EXPECT_NE(std::find(ui.input.changes.begin(), ui.input.changes.end(),
                        std::pair<const window*, window_change>{&box, window_change::text}),
              ui.input.changes.end());
    EXPECT_EQ(ui.input.changes.back(),
              (std::pair<const window*, window_change>{modal->child(1), window_change::enabled}));
}

TEST(WaitCursor, CountsBeginsAndEnds) {
    qv_test::headless_session ui;
    EXPECT_FALSE(ui.session.wait_cursor_shown());
    {
        wait_cursor outer(ui.session);
        ui.session.begin_wait_cursor();
        ui.session.end_wait_cursor();
        EXPECT_TRUE(ui.session.wait_cursor_shown());
    }
    EXPECT_FALSE(ui.session.wait_cursor_shown());
    ui.session.end_wait_cursor();
    ui.session.begin_wait_cursor();
    EXPECT_TRUE(ui.session.wait_cursor_shown());
}

TEST(RendererChoice, FromQvUiAndTheDisplay) {
    struct choice_case {
        std::optional<std::string_view> qv_ui;
        display_presence display;
        std::optional<renderer_kind> expected;
    };
    const choice_case cases[] = {
        {std::nullopt, display_presence::available, renderer_kind::gtk},
        {std::nullopt, display_presence::absent, renderer_kind::unattended},
        {"", display_presence::available, renderer_kind::gtk},
        {"gtk", display_presence::absent, renderer_kind::gtk},
        {"unattended", display_presence::available, renderer_kind::unattended},
        {"headless", display_presence::available, renderer_kind::headless},
        {"GTK", display_presence::available, std::nullopt},
        {"tty", display_presence::absent, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto chosen = choose_renderer(c.qv_ui, c.display);
        if (c.expected) {
            ASSERT_TRUE(chosen) << c.qv_ui.value_or("(unset)");
            EXPECT_EQ(*chosen, *c.expected) << c.qv_ui.value_or("(unset)");
        } else {
            ASSERT_FALSE(chosen) << *c.qv_ui;
            EXPECT_EQ(chosen.error(), make_error_code(win32_error::invalid_parameter));
        }
    }
}

TEST(RendererChoice, ReadsTheEnvironment) {
    ::unsetenv("QV_UI");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("DISPLAY");
    EXPECT_EQ(*choose_renderer(), renderer_kind::unattended);
    ::setenv("WAYLAND_DISPLAY", "wayland-0", 1);
    EXPECT_EQ(*choose_renderer(), renderer_kind::gtk);
    ::setenv("QV_UI", "headless", 1);
    EXPECT_EQ(*choose_renderer(), renderer_kind::headless);
}

TEST(RendererChoice, GtkWithoutADisplayFailsAndHeadlessDrives) {
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("DISPLAY");
    qv_test::scripted_driver input;
    const auto gtk = make_renderer(renderer_kind::gtk, input);
    ASSERT_FALSE(gtk);
    EXPECT_EQ(gtk.error(), make_error_code(win32_error::not_ready));

    auto made = make_renderer(renderer_kind::unattended, input);
    ASSERT_TRUE(made);
    desktop session(std::move(*made));
    EXPECT_EQ(session.metrics().text_width(L"------"), 36);
    EXPECT_EQ(session.metrics().line_height(), 13);
    auto shown = create_dialog(session, options_template(), nullptr);
    input.script = {user_action::click{2}};
    qv_test::recording_handler handler;
    shown->set_handler(&handler);
    EXPECT_EQ(*run_modal(*shown), idcancel);
}

} // namespace
