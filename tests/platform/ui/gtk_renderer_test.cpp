// The real window under an X server of the test's own: the program's frame with its start page
// and a dialog with every other kind of control appear where their templates put them, mirror
// the model, and turn keys, clicks and typing sent by xdotool into the model's notifications.
// Screenshots go to <build>/screenshots. GTK opens its display once per process, so the X server
// lives as long as the process.

#include "platform/os/resources.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/edit.h"
#include "platform/ui/gtk_renderer.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal_loop.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/renderer_choice.h"
#include "platform/ui/static_control.h"
#include "tests/platform/ui/gtk_user.h"
#include "tests/platform/ui/ui_fixture.h"
#include "tests/support/virtual_display.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

namespace {

using namespace platform::ui;
using qv_test::item;
using qv_test::screenshot;
using qv_test::user_at_display;
using qv_test::window_named;
using qv_test::xdotool;
namespace os = platform::os;

constexpr int check_id = 11;
constexpr int edit_id = 14;
constexpr int log_id = 15;
constexpr int progress_id = 16;
constexpr int label_id = 19;
constexpr int combo_id = 20;

constexpr std::uint32_t modal_style = 0x80C800C0u | ds::set_font;

dialog_template every_control_template(std::uint32_t ex_style = 0) {
    dialog_template source;
    source.style = modal_style;
    source.ex_style = ex_style;
    source.cx = 270;
    source.cy = 120;
    source.title = std::wstring(L"Every control");
    source.items = {
        item(0x80, 10, bs::group_box, 7, 7, 150, 60, L"Options"),
        item(0x80, check_id, bs::auto_check_box | ws::tabstop, 14, 20, 120, 10,
             L"&Desktop shortcut"),
        item(0x80, 12, bs::auto_radio_button | ws::group | ws::tabstop, 14, 34, 60, 10, L"Fast"),
        item(0x80, 13, bs::auto_radio_button, 14, 48, 60, 10, L"Custom"),
        item(0x81, edit_id, ws::border | ws::tabstop, 165, 7, 100, 12),
        item(0x81, log_id, es::multiline | es::read_only | ws::border | ws::tabstop, 165, 25, 100,
             40),
        item(L"msctls_progress32", progress_id, 0, 7, 72, 150, 10),
        item(0x82, 17, ss::icon, 165, 70, 20, 20, std::uint16_t{128}),
        item(0x82, 18, ss::white_rect, 200, 70, 30, 20),
        item(0x82, label_id, 0, 7, 86, 150, 16, L"A static text long enough to wrap in two lines"),
        item(0x80, idok, bs::def_push_button | ws::tabstop, 150, 100, 50, 14, L"OK"),
        item(0x80, idcancel, bs::push_button | ws::tabstop, 205, 100, 50, 14, L"Cancel"),
        item(L"ComboBoxEx32", combo_id, 0x3, 7, 104, 100, 60),
    };
    return source;
}

// Records commands and ends the dialog with the id it waits for.
class ending_handler : public qv_test::recording_handler {
public:
    explicit ending_handler(int ends_on) : ends_on_(ends_on) {}
    void command(dialog& target, int id, std::uint16_t notification) override {
        commands.push_back({id, notification});
        if (id == ends_on_ && notification == notify::bn_clicked)
            target.end(id);
    }

private:
    int ends_on_;
};

// Where a control's widget is within the window's client area (the GtkFixed inside the window's
// frame), and its size.
platform::ui::rect shown_rect(GtkWidget* widget, GtkWidget* client_area) {
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(widget, client_area, 0, 0, &x, &y);
    GtkAllocation size;
    gtk_widget_get_allocation(widget, &size);
    return {x, y, x + size.width, y + size.height};
}

// The model's rectangle of a control in the client area of its top-level window.
platform::ui::rect client_rect_of(const window& control) {
    platform::ui::rect at = control.rect();
    for (const window* w = control.parent(); w && w->parent(); w = w->parent()) {
        at.left += w->rect().left;
        at.right += w->rect().left;
        at.top += w->rect().top;
        at.bottom += w->rect().top;
    }
    return at;
}

class GtkRenderer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { static const qv_test::virtual_display display; }

    qv_test::scripted_driver unused;
    std::unique_ptr<desktop> session;
    gtk_renderer* view = nullptr;

    void SetUp() override {
        auto made = make_renderer(renderer_kind::gtk, unused);
        ASSERT_TRUE(made) << made.error().message();
        view = dynamic_cast<gtk_renderer*>(made->get());
        ASSERT_NE(view, nullptr);
        session = std::make_unique<desktop>(std::move(*made));
    }

    GtkWidget* widget_of(const window& shown) const {
        gtk_view* found = view->view_of(shown);
        return found ? found->inner() : nullptr;
    }
    GtkWidget* outer_of(const window& shown) const { return view->view_of(shown)->outer(); }
    GtkWidget* client_area_of(window& shown) const {
        return view->view_of(shown.root())->container();
    }

    // Every control of the dialog and its pages is at its model rectangle, with its size except
    // where Windows sizes the control itself: a picture takes its image's size, a combo box's
    // height in the template is that of its dropped list, a text's height follows its lines.
    void expect_controls_in_place(window& parent) {
        for (const auto& child : parent.children()) {
            if (!child->is_visible())
                continue;
            SCOPED_TRACE("control " + std::to_string(child->id()));
            const platform::ui::rect expected = client_rect_of(*child);
            const platform::ui::rect shown = shown_rect(outer_of(*child), client_area_of(*child));
            EXPECT_EQ(shown.left, expected.left);
            EXPECT_EQ(shown.top, expected.top);
            const auto* still = dynamic_cast<static_control*>(child.get());
            const bool picture = still && (still->kind() == static_kind::icon ||
                                           still->kind() == static_kind::bitmap);
            if (!picture) {
                EXPECT_EQ(shown.width(), expected.width());
            }
            if (!still && !dynamic_cast<combo_box_ex*>(child.get())) {
                EXPECT_EQ(shown.height(), expected.height());
            }
            expect_controls_in_place(*child);
        }
    }
};

TEST_F(GtkRenderer, FrameWithStartPageShowsItsTemplateAndEnterSendsTheDefaultButton) {
    auto frame = create_dialog(*session, *load_dialog_template(os::own_module(), 102), nullptr);
    qv_test::recording_handler handler;
    frame->set_handler(&handler);
    frame->set_icon(icon_size::big, 128);
    frame->set_icon(icon_size::small, 128);
    dialog& page = create_child_dialog(*frame, *load_dialog_template(os::own_module(), 132));
    page.move_to(105, 8);
    page.show();
    auto& languages = dynamic_cast<combo_box_ex&>(*page.child(1023));
    languages.set_images(std::make_shared<image_list>(image_list{18, 12, 0x18, {145, 141, 144}}));
    languages.insert_item(-1, {L"English", 0, 0, 1033});
    languages.insert_item(-1, {L"Deutsch", 1, 1, 1031});
    languages.insert_item(-1, {L"Français", 2, 2, 1036});
    languages.set_selection(1);
    // The focus on the combo box: Enter goes to the default button, not to a focused button.
    frame->show();
    ASSERT_TRUE(frame->set_focus(languages));

    user_at_display user(*frame, [] {
        const std::string id = window_named("Installer");
        xdotool({"windowfocus", "--sync", id});
        screenshot("frame_start_page");
        xdotool({"key", "Return"});
    });
    const auto result = run_modal(*frame);
    EXPECT_EQ(user.join(), "");
    ASSERT_TRUE(result) << result.error().message();
    EXPECT_EQ(*result, idok);
    EXPECT_EQ(handler.commands,
              (std::vector<qv_test::recorded_command>{{idok, notify::bn_clicked}}));

    expect_controls_in_place(*frame);
    GtkWindow* top = GTK_WINDOW(outer_of(*frame));
    EXPECT_STREQ(gtk_window_get_title(top), "Installer");
    EXPECT_FALSE(gtk_window_get_resizable(top));
    EXPECT_NE(gtk_window_get_icon(top), nullptr);
    EXPECT_EQ(gtk_window_get_default_widget(top), widget_of(*frame->child(idok)));
    EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(widget_of(languages))), 1);
    EXPECT_NE(gtk_image_get_pixbuf(GTK_IMAGE(widget_of(*frame->children()[4]))), nullptr);
}

TEST_F(GtkRenderer, TypingAndClickingReachTheModel) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    ending_handler handler(check_id);
    shown->set_handler(&handler);
    auto& check = dynamic_cast<button&>(*shown->child(check_id));
    auto& typed = dynamic_cast<edit&>(*shown->child(edit_id));
    shown->show();
    ASSERT_TRUE(shown->set_focus(typed));

    const platform::ui::rect box = check.rect();
    user_at_display user(*shown, [&box] {
        const std::string id = window_named("Every control");
        xdotool({"windowfocus", "--sync", id});
        xdotool({"type", "abc"});
        screenshot("every_control");
        xdotool({"mousemove", "--window", id, "--sync", std::to_string(box.left + 6),
                 std::to_string((box.top + box.bottom) / 2)});
        xdotool({"click", "1"});
    });
    const auto result = run_modal(*shown);
    EXPECT_EQ(user.join(), "");
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, check_id);

    EXPECT_EQ(typed.text(), L"abc");
    EXPECT_EQ(check.check(), check_state::checked);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget_of(check))));
    ASSERT_FALSE(handler.commands.empty());
    EXPECT_EQ(handler.commands.front(), (qv_test::recorded_command{edit_id, notify::en_change}));
    EXPECT_EQ(handler.commands.back(), (qv_test::recorded_command{check_id, notify::bn_clicked}));
    expect_controls_in_place(*shown);
}

struct key_case {
    const char* name;
    std::vector<std::string> keys;
    int command;
};

void PrintTo(const key_case& keys, std::ostream* out) {
    *out << keys.name;
}

class GtkRendererKeys : public GtkRenderer, public ::testing::WithParamInterface<key_case> {};

TEST_P(GtkRendererKeys, DialogKeysGoThroughTheModel) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    qv_test::recording_handler handler;
    shown->set_handler(&handler);
    shown->show();
    ASSERT_TRUE(shown->set_focus(*shown->child(edit_id)));

    std::vector<std::string> keys = GetParam().keys;
    keys.insert(keys.begin(), "key");
    user_at_display user(*shown, [&keys] {
        const std::string id = window_named("Every control");
        xdotool({"windowfocus", "--sync", id});
        xdotool(keys);
    });
    const auto result = run_modal(*shown);
    EXPECT_EQ(user.join(), "");
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, GetParam().command);
    EXPECT_EQ(handler.commands,
              (std::vector<qv_test::recorded_command>{{GetParam().command, notify::bn_clicked}}));
}

// Enter in an edit: the default button (OK); Esc: IDCANCEL. Tab moves the model's focus (edit,
// log, OK, Cancel), and Enter on a focused push button sends that button's id.
INSTANTIATE_TEST_SUITE_P(
    Keys, GtkRendererKeys,
    ::testing::Values(key_case{"Return", {"Return"}, idok},
                      key_case{"KeypadEnter", {"KP_Enter"}, idok},
                      key_case{"Escape", {"Escape"}, idcancel},
                      key_case{"TabToCancelThenReturn", {"Tab", "Tab", "Tab", "Return"}, idcancel}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GtkRenderer, ClosingTheWindowIsTheCloseCommand) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    qv_test::recording_handler handler;
    shown->set_handler(&handler);
    GtkWindow* top = GTK_WINDOW(outer_of(*shown));
    g_idle_add(
        [](gpointer window) {
            gtk_window_close(GTK_WINDOW(window));
            return gboolean{G_SOURCE_REMOVE};
        },
        top);
    const auto result = run_modal(*shown);
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, idcancel);
    EXPECT_EQ(handler.system_commands, std::vector<std::uint32_t>{sc::close});
    // The model decides; the window itself stays until the model destroys it.
    EXPECT_EQ(outer_of(*shown), GTK_WIDGET(top));
}

// Without a window manager the title bar's menu is not drawn: Alt+Space opens it.
TEST_F(GtkRenderer, AltSpaceOpensTheSystemMenuAndItsItemsAreSystemCommands) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    shown->menu().append_separator();
    shown->menu().append(0x10, L"&About 'Installer'...");
    shown->menu().append(0x20, L"&Grayed");
    shown->menu().set_state(0x20, menu_item_state::grayed);
    ending_handler handler(idcancel);
    shown->set_handler(&handler);
    user_at_display user(*shown, [] {
        const std::string id = window_named("Every control");
        xdotool({"windowfocus", "--sync", id});
        xdotool({"key", "alt+space"});
        xdotool({"search", "--sync", "--onlyvisible", "--class", "gtk"});
        screenshot("system_menu");
        xdotool({"key", "g", "a"});
        xdotool({"windowfocus", "--sync", id});
        xdotool({"key", "Escape"});
    });
    const auto result = run_modal(*shown);
    EXPECT_EQ(user.join(), "");
    ASSERT_TRUE(result);
    EXPECT_EQ(*result, idcancel);
    // The grayed item could not be picked; the about item reached the model.
    EXPECT_EQ(handler.system_commands, std::vector<std::uint32_t>{0x10});
}

TEST_F(GtkRenderer, MessageBoxShowsItsTextAndEnterPressesTheDefaultButton) {
    auto owner = create_dialog(*session, every_control_template(), nullptr);
    user_at_display user(*owner, [] {
        const std::string id = window_named("Question box");
        xdotool({"windowfocus", "--sync", id});
        screenshot("message_box");
        xdotool({"key", "Return"});
    });
    // Yes/No with the second button as default and the question icon.
    const int answer =
        show_message_box(*session, message_box(L"Proceed?", L"Question box", 0x124, nullptr));
    EXPECT_EQ(user.join(), "");
    EXPECT_EQ(answer, idno);
}

TEST_F(GtkRenderer, WidgetsFollowTheModel) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    shown->show();
    auto& check = dynamic_cast<button&>(*shown->child(check_id));
    auto& fast = dynamic_cast<button&>(*shown->child(12));
    auto& custom = dynamic_cast<button&>(*shown->child(13));
    auto& label = *shown->child(label_id);
    auto& progress = dynamic_cast<progress_bar&>(*shown->child(progress_id));
    auto& log = dynamic_cast<edit&>(*shown->child(log_id));

    check.set_check(check_state::checked);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget_of(check))));
    check.set_check(check_state::indeterminate);
    EXPECT_TRUE(gtk_toggle_button_get_inconsistent(GTK_TOGGLE_BUTTON(widget_of(check))));
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(widget_of(check))), "_Desktop shortcut");

    // A radio button the model unchecks is unchecked on screen too, alone in its GTK group.
    custom.set_check(check_state::checked);
    custom.set_check(check_state::unchecked);
    fast.set_check(check_state::checked);
    EXPECT_TRUE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget_of(fast))));
    EXPECT_FALSE(gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget_of(custom))));

    label.set_text(L"Fish && chips\r\nline two");
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(widget_of(label))), "Fish & chips\nline two");

    progress.set_range({0, 200});
    progress.set_position(50);
    EXPECT_DOUBLE_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(widget_of(progress))), 0.25);

    std::wstring lines;
    for (int i = 0; i < 30; ++i)
        lines += L"line " + std::to_wstring(i) + L"\r\n";
    log.set_text(lines);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(GTK_TEXT_VIEW(widget_of(log)));
    EXPECT_EQ(gtk_text_buffer_get_line_count(buffer), 31);
    EXPECT_FALSE(gtk_text_view_get_editable(GTK_TEXT_VIEW(widget_of(log))));

    label.disable();
    EXPECT_FALSE(gtk_widget_get_sensitive(outer_of(label)));
    label.hide();
    EXPECT_FALSE(gtk_widget_get_visible(outer_of(label)));
    label.show();
    EXPECT_TRUE(gtk_widget_get_visible(outer_of(label)));

    shown->set_text(L"Renamed");
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(outer_of(*shown))), "Renamed");

    // DM_SETDEFID moves GTK's default too.
    shown->set_default_id(idcancel);
    EXPECT_EQ(gtk_window_get_default_widget(GTK_WINDOW(outer_of(*shown))),
              widget_of(*shown->child(idcancel)));
    EXPECT_TRUE(gtk_style_context_has_class(
        gtk_widget_get_style_context(widget_of(*shown->child(idcancel))), "default"));
    EXPECT_FALSE(gtk_style_context_has_class(
        gtk_widget_get_style_context(widget_of(*shown->child(idok))), "default"));

    ASSERT_TRUE(shown->set_focus(*shown->child(edit_id)));
    EXPECT_TRUE(gtk_widget_has_focus(widget_of(*shown->child(edit_id))) ||
                gtk_window_get_focus(GTK_WINDOW(outer_of(*shown))) ==
                    widget_of(*shown->child(edit_id)));

    GdkWindow* surface = gtk_widget_get_window(outer_of(*shown));
    ASSERT_NE(surface, nullptr);
    {
        wait_cursor busy(*session);
        ASSERT_NE(gdk_window_get_cursor(surface), nullptr);
        EXPECT_EQ(gdk_cursor_get_cursor_type(gdk_window_get_cursor(surface)), GDK_WATCH);
    }
    EXPECT_EQ(gdk_window_get_cursor(surface), nullptr);
}

TEST_F(GtkRenderer, FocusFollowsBetweenGtkAndTheModel) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    shown->show();
    GtkWindow* top = GTK_WINDOW(outer_of(*shown));
    // The model's focus shows in GTK, on the combo box's inner button for a combo box.
    for (int id : {combo_id, edit_id, check_id}) {
        SCOPED_TRACE("control " + std::to_string(id));
        ASSERT_TRUE(shown->set_focus(*shown->child(id)));
        GtkWidget* focused = gtk_window_get_focus(top);
        ASSERT_NE(focused, nullptr);
        EXPECT_TRUE(focused == widget_of(*shown->child(id)) ||
                    gtk_widget_is_ancestor(focused, widget_of(*shown->child(id))));
    }
    // The focus GTK gives a widget (a click, its own keys) moves the model's.
    for (int id : {edit_id, check_id}) {
        SCOPED_TRACE("control " + std::to_string(id));
        window& control = *shown->child(id);
        ASSERT_TRUE(shown->set_focus(*shown->child(combo_id)));
        gtk_widget_grab_focus(widget_of(control));
        EXPECT_EQ(shown->focus(), &control);
    }
    // A disabled control is insensitive in GTK and takes no focus there either.
    shown->child(edit_id)->disable();
    gtk_widget_grab_focus(widget_of(*shown->child(edit_id)));
    EXPECT_EQ(shown->focus(), shown->child(check_id));
}

TEST_F(GtkRenderer, LogFollowsTheFirstVisibleLine) {
    auto shown = create_dialog(*session, every_control_template(), nullptr);
    auto& log = dynamic_cast<edit&>(*shown->child(log_id));
    std::wstring lines;
    for (int i = 0; i < 30; ++i)
        lines += L"line " + std::to_wstring(i) + L"\r\n";
    log.set_text(lines);
    log.scroll_lines(10);
    ASSERT_EQ(log.first_visible_line(), 10);
    shown->show();
    GtkTextView* text = GTK_TEXT_VIEW(widget_of(log));
    GtkAdjustment* scrolled = gtk_scrollable_get_vadjustment(GTK_SCROLLABLE(text));
    // The text view scrolls once its lines are laid out, in the main loop.
    while (gtk_adjustment_get_value(scrolled) == 0)
        gtk_main_iteration_do(TRUE);
    GtkTextIter top;
    gtk_text_view_get_line_at_y(text, &top, static_cast<int>(gtk_adjustment_get_value(scrolled)),
                                nullptr);
    EXPECT_EQ(gtk_text_iter_get_line(&top), 10);
}

TEST_F(GtkRenderer, RightToLeftDialogMirrorsItsControls) {
    auto shown = create_dialog(*session, every_control_template(ws_ex::layout_rtl), nullptr);
    shown->show();
    session->view().pump_messages();
    const int width = shown->rect().width();
    for (int id : {check_id, edit_id, progress_id, idok}) {
        SCOPED_TRACE("control " + std::to_string(id));
        window& control = *shown->child(id);
        const platform::ui::rect at = shown_rect(outer_of(control), client_area_of(*shown));
        EXPECT_EQ(at.left, width - control.rect().right);
        EXPECT_EQ(at.top, control.rect().top);
        EXPECT_EQ(gtk_widget_get_direction(widget_of(control)), GTK_TEXT_DIR_RTL);
    }
}

TEST_F(GtkRenderer, TextIsMeasuredInTheDialogFont) {
    const text_metrics& measure = session->metrics();
    EXPECT_EQ(measure.text_width(L""), 0);
    EXPECT_GT(measure.text_width(L"WWWW"), measure.text_width(L"iiii"));
    EXPECT_GT(measure.text_width(L"----------"), measure.text_width(L"-----"));
    // An 8-point font at 96 dpi: about the 13 pixels of the dialog's base unit.
    EXPECT_GE(measure.line_height(), 10);
    EXPECT_LE(measure.line_height(), 16);
}

} // namespace
