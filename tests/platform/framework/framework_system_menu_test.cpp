// The system menu through the class library: edits by command, WM_INITMENUPOPUP before it opens,
// and minimizing and restoring through its commands.

#include "tests/platform/framework/framework_fixture.h"

#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace ui = platform::ui;
namespace action = ui::user_action;
using qv_test::framework_session;

constexpr std::uint32_t about_command = 0x10;

// A frame that grays Minimize while minimized and Restore otherwise, as it sees its menu open.
class menu_frame : public qv_test::frame_dialog {
public:
    using frame_dialog::frame_dialog;
    std::vector<bool> minimized_when_opened;
    int about_shown = 0;

    void OnInitMenuPopup(fw::CMenu* popup, unsigned index, bool system_menu) override {
        CDialog::OnInitMenuPopup(popup, index, system_menu);
        minimized_when_opened.push_back(IsIconic());
        popup->EnableMenuItem(ui::sc::minimize, IsIconic() ? fw::MF_GRAYED : fw::MF_ENABLED);
        popup->EnableMenuItem(ui::sc::restore, IsIconic() ? fw::MF_ENABLED : fw::MF_GRAYED);
    }
    void OnMenuCommand(std::uint32_t command) {
        if (command == about_command)
            ++about_shown;
        else
            CDialog::OnSysCommand(command);
    }

protected:
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_init_menu_popup(&menu_frame::OnInitMenuPopup),
            fw::on_sys_command(&menu_frame::OnMenuCommand),
        };
        static const fw::message_map map{&CDialog::own_messages(), entries};
        return map;
    }
};

TEST(framework_system_menu, items_are_edited_by_command) {
    framework_session ui_session;
    qv_test::exchange_page page;
    menu_frame frame(page, IDD_END_PAGE);
    std::vector<ui::menu_item> items;
    frame.on_init = [&](qv_test::frame_dialog& f) {
        fw::CMenu* menu = f.GetSystemMenu(false);
        ASSERT_NE(menu, nullptr);
        EXPECT_TRUE(menu->AppendMenu(fw::MF_SEPARATOR));
        EXPECT_TRUE(menu->AppendMenu(fw::MF_STRING, about_command, L"&About 'Installer'..."));
        menu->DeleteMenu(ui::sc::maximize, fw::MF_BYCOMMAND);
        menu->DeleteMenu(ui::sc::size, fw::MF_BYCOMMAND);
        EXPECT_TRUE(menu->ModifyMenu(about_command, fw::MF_BYCOMMAND | fw::MF_STRING, about_command,
                                     L"&À propos de 'Installation'..."));
        EXPECT_FALSE(menu->ModifyMenu(0x20, fw::MF_BYCOMMAND, 0x20, L"none"));
        EXPECT_EQ(menu->EnableMenuItem(0x20, fw::MF_GRAYED), -1);
        items = dynamic_cast<ui::dialog&>(*f.GetSafeHwnd()).menu().items();
    };
    ui_session.input.script = {action::click{IDC_EXIT}};
    frame.DoModal();
    ASSERT_GE(items.size(), 2u);
    EXPECT_EQ(items.back().command, about_command);
    EXPECT_EQ(items.back().text, L"&À propos de 'Installation'...");
    EXPECT_EQ(items[items.size() - 2].kind, ui::menu_item_kind::separator);
    for (const auto& item : items) {
        EXPECT_NE(item.command, ui::sc::maximize);
        EXPECT_NE(item.command, ui::sc::size);
    }
}

TEST(framework_system_menu, the_menu_is_prepared_each_time_it_opens) {
    framework_session ui_session;
    qv_test::exchange_page page;
    menu_frame frame(page, IDD_END_PAGE);
    // The frame has no minimize box, so its menu lacks Minimize and Restore until given them.
    frame.on_init = [](qv_test::frame_dialog& f) {
        fw::CMenu* menu = f.GetSystemMenu(false);
        menu->AppendMenu(fw::MF_STRING, about_command, L"&About");
        menu->AppendMenu(fw::MF_STRING, ui::sc::minimize, L"Mi&nimize");
        menu->AppendMenu(fw::MF_STRING | fw::MF_GRAYED, ui::sc::restore, L"&Restore");
    };
    bool minimized = false;
    ui_session.input.before_turn = [&](ui::dialog& active) {
        if (frame.minimized_when_opened.size() == 2)
            minimized = active.is_minimized();
    };
    ui_session.input.script = {
        action::system_menu_command{about_command},
        action::system_menu_command{ui::sc::minimize},
        action::system_menu_command{ui::sc::minimize},
        action::system_menu_command{ui::sc::restore},
        action::system_menu_command{ui::sc::restore},
        action::click{IDC_EXIT},
    };
    frame.DoModal();
    EXPECT_EQ(frame.about_shown, 1);
    EXPECT_TRUE(minimized);
    // Opened five times: normal, normal (minimizes), minimized (Minimize grayed: refused),
    // minimized (restores), normal (Restore grayed: refused).
    EXPECT_EQ(frame.minimized_when_opened, (std::vector<bool>{false, false, true, true, false}));
    EXPECT_FALSE(frame.IsIconic());
}

} // namespace
