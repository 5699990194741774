#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_factory.h"
#include "platform/ui/edit.h"
#include "platform/ui/progress_bar.h"
#include "tests/platform/ui/ui_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace platform::ui;
using qv_test::item;
using qv_test::recorded_command;

constexpr int name_box = 1030;
constexpr int log_box = 1015;
constexpr int languages = 1001;
constexpr int progress = 1014;

dialog_template controls_template() {
    dialog_template source;
    source.style = ws::child | ds::control;
    source.cx = 220;
    source.cy = 140;
    source.items = {
        item(0x81, name_box, ws::tabstop, 7, 100, 150, 12),
        item(0x81, log_box, es::multiline | es::read_only | ws::border, 7, 7, 205, 54),
        item(L"ComboBoxEx32", languages, ws::tabstop | 0x3, 7, 70, 100, 120),
        item(L"msctls_progress32", progress, 0, 7, 67, 205, 10),
    };
    // The log box's border is a client edge, as the resource compiler gives an edit.
    source.items[1].ex_style = ws_ex::client_edge;
    source.items[1].style &= ~ws::border;
    return source;
}

struct Controls : ::testing::Test {
    qv_test::headless_session ui;
    std::unique_ptr<dialog> host = create_dialog(ui.session, controls_template(), nullptr);
    qv_test::recording_handler handler;
    edit& name = dynamic_cast<edit&>(*host->child(name_box));
    edit& log = dynamic_cast<edit&>(*host->child(log_box));
    combo_box_ex& combo = dynamic_cast<combo_box_ex&>(*host->child(languages));
    progress_bar& bar = dynamic_cast<progress_bar&>(*host->child(progress));

    void SetUp() override {
        host->set_handler(&handler);
        host->show();
    }

    // Appends as the install log does: caret to the end, replace, one line down.
    void append(std::wstring_view text) {
        log.set_selection(0x7FFFFFFF, -1);
        log.replace_selection(text);
        log.scroll_lines(1);
    }
};

TEST_F(Controls, EditSelectionFollowsEmSetSelRules) {
    name.set_text(L"Hello");
    struct selection_case {
        int start, end;
        edit_selection expected;
    };
    const selection_case cases[] = {
        {1, 3, {1, 3}},  {3, 1, {3, 1}},  {0, -1, {0, 5}}, {0x7FFFFFFF, -1, {5, 5}},
        {2, 99, {2, 5}}, {-1, 0, {5, 5}}, {-7, 2, {5, 2}}, {0, 0, {0, 0}},
    };
    for (const auto& c : cases) {
        name.set_selection(c.start, c.end);
        EXPECT_EQ(name.selection(), c.expected) << c.start << ", " << c.end;
    }
    name.set_selection(1, 3);
    name.set_selection(-1, 0);
    EXPECT_EQ(name.selection(), (edit_selection{3, 3}));
}

TEST_F(Controls, ReplaceSelectionReplacesAndMovesTheCaret) {
    name.set_text(L"C:\\Program Files");
    handler.commands.clear();
    name.set_selection(3, 10);
    name.replace_selection(L"Apps");
    EXPECT_EQ(name.text(), L"C:\\Apps Files");
    EXPECT_EQ(name.selection(), (edit_selection{7, 7}));
    name.set_selection(13, 3);
    name.replace_selection(L"");
    EXPECT_EQ(name.text(), L"C:\\");
    EXPECT_EQ(handler.commands, (std::vector<recorded_command>{{name_box, notify::en_change},
                                                               {name_box, notify::en_change}}));
}

TEST_F(Controls, SettingTextNotifiesOnlyASingleLineEdit) {
    name.set_text(L"a");
    log.set_text(L"b");
    EXPECT_EQ(handler.commands, (std::vector<recorded_command>{{name_box, notify::en_change}}));
    EXPECT_EQ(log.selection(), (edit_selection{0, 0}));
}

TEST_F(Controls, LogLinesScrollWithinTheText) {
    // 54 units are 88 pixels; less the client edge that leaves 84, six lines of 13.
    ASSERT_EQ(log.client_rect().height(), 84);
    ASSERT_EQ(log.visible_lines(), 6);
    EXPECT_EQ(log.line_count(), 1);

    for (int i = 0; i < 10; ++i)
        append(L"Step\r\n");
    EXPECT_EQ(log.line_count(), 11);
    EXPECT_EQ(log.line_from_char(0), 0);
    EXPECT_EQ(log.line_from_char(6), 1);
    EXPECT_EQ(log.line_from_char(60), 10);
    // The caret on line 10 is in view with lines 5 to 10; no further scrolling than that.
    EXPECT_EQ(log.first_visible_line(), 5);

    int steps = 0;
    while (log.first_visible_line() != 0) {
        log.scroll_lines(-1);
        ++steps;
    }
    EXPECT_EQ(steps, 5);
    log.scroll_lines(-3);
    EXPECT_EQ(log.first_visible_line(), 0);

    // A step written without its line end is completed on the same line.
    append(L"Copying...");
    append(L"OK\r\n");
    EXPECT_EQ(log.line_count(), 12);
    EXPECT_EQ(log.first_visible_line(), 6);
    EXPECT_TRUE(log.text().ends_with(L"Step\r\nCopying...OK\r\n"));

    name.scroll_lines(3);
    EXPECT_EQ(name.first_visible_line(), 0);
}

TEST_F(Controls, TypingRespectsTheLimitAndReadOnly) {
    name.set_limit(5);
    ASSERT_TRUE(name.type(L"abcdefgh"));
    EXPECT_EQ(name.text(), L"abcde");
    EXPECT_EQ(name.selection(), (edit_selection{5, 5}));

    EXPECT_FALSE(log.type(L"x"));
    log.set_access(edit_access::editable);
    EXPECT_TRUE(log.type(L"x"));
    name.set_access(edit_access::read_only);
    EXPECT_TRUE(name.is_read_only());
    EXPECT_FALSE(name.type(L"y"));
    EXPECT_EQ(name.text(), L"abcde");
}

TEST_F(Controls, EditMarginsStartAtTheFontDefault) {
    EXPECT_EQ(log.margins(), edit::default_margins);
    log.set_margins({3, 4});
    EXPECT_EQ(log.margins(), (edit_margins{3, 4}));
}

TEST_F(Controls, ComboItemsAndTheSelectionThatFollowsThem) {
    EXPECT_EQ(combo.insert_item(-1, {L"English", 0, 0, 1033}), 0);
    EXPECT_EQ(combo.insert_item(-1, {L"Deutsch", 1, 1, 1031}), 1);
    EXPECT_EQ(combo.insert_item(5, {L"Bad"}), -1);
    EXPECT_EQ(combo.set_selection(1), 1);
    EXPECT_EQ(combo.text(), L"Deutsch");

    EXPECT_EQ(combo.insert_item(0, {L"Dansk", 2, 2, 1030}), 0);
    EXPECT_EQ(combo.selection(), 2);
    EXPECT_EQ(combo.items()[2].data, 1031);
    EXPECT_EQ(combo.items()[0].image, 2);

    EXPECT_EQ(combo.delete_item(0), 2);
    EXPECT_EQ(combo.selection(), 1);
    EXPECT_EQ(combo.delete_item(7), -1);
    EXPECT_EQ(combo.delete_item(1), 1);
    EXPECT_EQ(combo.selection(), -1);
    EXPECT_EQ(combo.text(), L"");

    EXPECT_EQ(combo.set_selection(0), 0);
    EXPECT_EQ(combo.set_selection(3), -1);
    EXPECT_EQ(combo.selection(), -1);
    combo.reset();
    EXPECT_EQ(combo.count(), 0);
    EXPECT_TRUE(handler.commands.empty());
}

TEST_F(Controls, ComboDroppedWidthIsNeverNarrowerThanTheControl) {
    ASSERT_EQ(combo.rect().width(), 150);
    EXPECT_EQ(combo.dropped_width(), 150);
    EXPECT_EQ(combo.set_dropped_width(80), 150);
    EXPECT_EQ(combo.set_dropped_width(300), 300);
    EXPECT_EQ(combo.dropped_width(), 300);
}

TEST_F(Controls, ProgressPositionStaysInItsRange) {
    EXPECT_EQ(bar.range(), (progress_range{0, 100}));
    EXPECT_EQ(bar.set_range({0, 100}), (progress_range{0, 100}));
    EXPECT_EQ(bar.set_position(40), 0);
    EXPECT_EQ(bar.set_position(150), 40);
    EXPECT_EQ(bar.position(), 100);
    EXPECT_EQ(bar.set_position(-5), 100);
    EXPECT_EQ(bar.position(), 0);
    bar.set_position(90);
    EXPECT_EQ(bar.set_range({10, 50}), (progress_range{0, 100}));
    EXPECT_EQ(bar.position(), 50);
}

} // namespace
