// Data exchange on the wizard's page templates: values loaded into the controls and saved back,
// and the checks that refuse a value and keep the dialog open.

#include "tests/platform/framework/framework_fixture.h"

#include "platform/ui/button.h"
#include "platform/ui/edit.h"

#include <gtest/gtest.h>

namespace {

using namespace qv_test;
namespace action = ui::user_action;

ui::check_state check_of(fw::CDialog& page, int id) {
    return dynamic_cast<ui::button&>(*page.GetDlgItem(id)->GetSafeHwnd()).check();
}

ui::edit& edit_of(fw::CDialog& page, int id) {
    return dynamic_cast<ui::edit&>(*page.GetDlgItem(id)->GetSafeHwnd());
}

TEST(data_exchange, text_loads_into_the_edit_with_its_limit_and_saves_what_was_typed) {
    framework_session ui_session;
    exchange_page page;
    std::wstring folder = L"C:\\Program Files\\Quorvane\\Varnolis 2";
    page.exchange = [&](fw::CDataExchange* dx) {
        fw::DDX_Text(dx, IDC_FOLDER, folder);
        fw::DDV_MaxChars(dx, folder, 260);
    };
    frame_dialog frame(page, IDD_FOLDER_PAGE);
    ui_session.input.on_first_turn([&](ui::dialog&) {
        EXPECT_EQ(edit_of(page, IDC_FOLDER).text(), L"C:\\Program Files\\Quorvane\\Varnolis 2");
        EXPECT_EQ(edit_of(page, IDC_FOLDER).limit(), 260);
    });
    ui_session.input.script = {action::type_text{IDC_FOLDER, L"D:\\Apps"},
                               action::press{ui::dialog_key::enter}};
    EXPECT_EQ(frame.DoModal(), ui::idok);
    EXPECT_EQ(folder, L"D:\\Apps");
    EXPECT_TRUE(ui_session.input.boxes.empty());
}

TEST(data_exchange, check_boxes_load_and_save_their_states) {
    framework_session ui_session;
    exchange_page page;
    int desktop = 1;
    int menu = 0;
    page.exchange = [&](fw::CDataExchange* dx) {
        fw::DDX_Check(dx, IDC_DESKTOP_SHORTCUT, desktop);
        fw::DDX_Check(dx, IDC_MENU_SHORTCUT, menu);
    };
    frame_dialog frame(page, IDD_SHORTCUT_PAGE);
    ui_session.input.on_first_turn([&](ui::dialog&) {
        EXPECT_EQ(check_of(page, IDC_DESKTOP_SHORTCUT), ui::check_state::checked);
        EXPECT_EQ(check_of(page, IDC_MENU_SHORTCUT), ui::check_state::unchecked);
    });
    ui_session.input.script = {action::click{IDC_DESKTOP_SHORTCUT},
                               action::click{IDC_MENU_SHORTCUT}, action::click{IDC_NEXT}};
    EXPECT_EQ(frame.DoModal(), ui::idok);
    EXPECT_EQ(desktop, 0);
    EXPECT_EQ(menu, 1);
}

TEST(data_exchange, a_radio_group_loads_and_saves_the_index_of_its_checked_button) {
    const struct {
        int loaded;
        ui::check_state quick, advanced;
        std::vector<ui::driver_action> clicks;
        int saved;
    } cases[] = {
        {0, ui::check_state::checked, ui::check_state::unchecked, {}, 0},
        {1, ui::check_state::unchecked, ui::check_state::checked, {}, 1},
        {-1, ui::check_state::unchecked, ui::check_state::unchecked, {}, -1},
        {0,
         ui::check_state::checked,
         ui::check_state::unchecked,
         {action::click{IDC_ADVANCED_METHOD}},
         1},
        {-1,
         ui::check_state::unchecked,
         ui::check_state::unchecked,
         {action::click{IDC_QUICK_METHOD}},
         0},
    };
    for (const auto& c : cases) {
        framework_session ui_session;
        exchange_page page;
        int method = c.loaded;
        page.exchange = [&](fw::CDataExchange* dx) { fw::DDX_Radio(dx, IDC_QUICK_METHOD, method); };
        frame_dialog frame(page, IDD_METHOD_PAGE);
        ui_session.input.on_first_turn([&](ui::dialog&) {
            EXPECT_EQ(check_of(page, IDC_QUICK_METHOD), c.quick) << c.loaded;
            EXPECT_EQ(check_of(page, IDC_ADVANCED_METHOD), c.advanced) << c.loaded;
        });
        ui_session.input.script.assign(c.clicks.begin(), c.clicks.end());
        ui_session.input.script.push_back(action::click{IDC_NEXT});
        EXPECT_EQ(frame.DoModal(), ui::idok);
        EXPECT_EQ(method, c.saved) << c.loaded;
    }
}

TEST(data_exchange, a_text_over_the_limit_is_refused_and_the_page_stays_open) {
    framework_session ui_session;
    exchange_page page;
    std::wstring folder(300, L'a');
    page.exchange = [&](fw::CDataExchange* dx) {
        fw::DDX_Text(dx, IDC_FOLDER, folder);
        fw::DDV_MaxChars(dx, folder, 260);
    };
    frame_dialog frame(page, IDD_FOLDER_PAGE);
    std::vector<bool> after_refusal;
    ui_session.input.script = {action::click{IDC_NEXT}, action::click{IDC_EXIT}};
    ui_session.input.before_turn = [&](ui::dialog& active) {
        if (ui_session.input.boxes.empty())
            return;
        after_refusal.push_back(true);
        ui::edit& text = edit_of(page, IDC_FOLDER);
        EXPECT_EQ(active.focus(), &text);
        EXPECT_EQ(text.selection(), (ui::edit_selection{0, 300}));
        EXPECT_FALSE(active.ended());
    };
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    const shown_box& box = ui_session.input.boxes.front();
    EXPECT_EQ(box.text, L"Enter no more than 260 characters.");
    EXPECT_EQ(box.type, ui::mb::ok | ui::mb::icon_exclamation);
    EXPECT_EQ(box.caption, L"Installer – Varnolis 2.32g");
    EXPECT_EQ(after_refusal.size(), 1u);
    // The member keeps its value: the refused text was not saved.
    EXPECT_EQ(folder, std::wstring(300, L'a'));
}

TEST(data_exchange, the_limit_counts_utf16_units) {
    const struct {
        std::wstring text;
        bool accepted;
    } cases[] = {
        {std::wstring(4, L'é'), true},
        {std::wstring(5, L'é'), false},
        // A character outside the basic plane takes two units, as on Windows.
        {std::wstring(L"ab") + L'\U0001F600', true},
        {std::wstring(L"abc") + L'\U0001F600', false},
    };
    for (const auto& c : cases) {
        framework_session ui_session;
        exchange_page page;
        std::wstring value = c.text;
        page.exchange = [&](fw::CDataExchange* dx) {
            fw::DDX_Text(dx, IDC_FOLDER, value);
            fw::DDV_MaxChars(dx, value, 4);
        };
        frame_dialog frame(page, IDD_FOLDER_PAGE);
        frame.on_init = [&](frame_dialog& f) {
            f.EndDialog(page.UpdateData(true) ? ui::idok : ui::idcancel);
        };
        EXPECT_EQ(frame.DoModal(), c.accepted ? ui::idok : ui::idcancel);
        EXPECT_EQ(ui_session.input.boxes.size(), c.accepted ? 0u : 1u);
    }
}

TEST(data_exchange, integers_are_read_with_blanks_around_them) {
    const struct {
        std::wstring text;
        std::optional<int> saved;
    } cases[] = {
        {L"42", 42},
        {L"  -17 ", -17},
        {L"+8", 8},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"2147483648", std::nullopt},
        {L"4x", std::nullopt},
        {L"", std::nullopt},
        {L"-", std::nullopt},
    };
    for (const auto& c : cases) {
        framework_session ui_session;
        exchange_page page;
        int value = 5;
        page.exchange = [&](fw::CDataExchange* dx) { fw::DDX_Text(dx, IDC_FOLDER, value); };
        frame_dialog frame(page, IDD_FOLDER_PAGE);
        ui_session.input.on_first_turn(
            [&](ui::dialog&) { EXPECT_EQ(edit_of(page, IDC_FOLDER).text(), L"5"); });
        ui_session.input.script = {action::type_text{IDC_FOLDER, c.text}, action::click{IDC_NEXT},
                                   action::click{IDC_EXIT}};
        const auto result = frame.DoModal();
        if (c.saved) {
            EXPECT_EQ(result, ui::idok);
            EXPECT_EQ(value, *c.saved);
        } else {
            EXPECT_EQ(result, ui::idcancel);
            EXPECT_EQ(value, 5);
            ASSERT_EQ(ui_session.input.boxes.size(), 1u);
            EXPECT_EQ(ui_session.input.boxes[0].text, L"Please enter an integer.");
        }
    }
}

TEST(data_exchange, a_control_the_page_lacks_fails_the_exchange) {
    framework_session ui_session;
    exchange_page page;
    std::wstring text;
    page.exchange = [&](fw::CDataExchange* dx) { fw::DDX_Text(dx, IDC_LOG, text); };
    frame_dialog frame(page, IDD_FOLDER_PAGE);
    frame.on_init = [&](frame_dialog& f) { f.EndDialog(page.UpdateData(true) ? 1 : 0); };
    EXPECT_EQ(frame.DoModal(), 0);
}

} // namespace
