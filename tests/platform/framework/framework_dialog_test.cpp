// Dialogs made from the program's templates: how DoModal ends, and how the controls'
// notifications reach the handlers of the message maps.

#include "tests/platform/framework/framework_fixture.h"

#include "platform/ui/dialog_units.h"

#include <gtest/gtest.h>

namespace {

using namespace qv_test;
namespace action = ui::user_action;

// The shortcut page with its handlers: the menu check box enables the folder and Browse, as the
// wizard's page does; Browse is counted.
class shortcut_page : public fw::CDialog {
public:
    int browse_clicks = 0;

    shortcut_page() : CDialog(IDD_SHORTCUT_PAGE) {}

    void OnMenuShortcut() {
        const bool ticked = IsDlgButtonChecked(IDC_MENU_SHORTCUT) == 1;
        GetDlgItem(IDC_FOLDER)->EnableWindow(ticked);
        GetDlgItem(IDC_BROWSE)->EnableWindow(ticked);
    }
    void OnBrowse() { ++browse_clicks; }

protected:
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_command(IDC_MENU_SHORTCUT, ui::notify::bn_clicked,
                           &shortcut_page::OnMenuShortcut),
            fw::on_command(IDC_BROWSE, ui::notify::bn_clicked, &shortcut_page::OnBrowse),
        };
        static const fw::message_map map{&CDialog::own_messages(), entries};
        return map;
    }
};

// The start page: the language list bound with DDX_Control and filled in OnInitDialog; a
// selection change records the chosen item's data.
class start_page : public fw::CDialog {
public:
    fw::CComboBoxEx languages;
    fw::CImageList flags;
    std::vector<std::intptr_t> chosen;

    start_page() : CDialog(IDD_START_PAGE) {}

    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        flags.Create(18, 12, fw::ILC_COLOR24, 8, 1);
        languages.SetImageList(&flags);
        const struct {
            const wchar_t* name;
            std::uint16_t flag;
            std::intptr_t language;
        } offered[] = {{L"Français", 144, 0}, {L"English", 145, 1}, {L"Deutsch", 141, 2}};
        for (const auto& language : offered) {
            const int image = flags.Add(language.flag);
            languages.InsertItem(-1, {language.name, image, image, language.language});
        }
        languages.SetCurSel(1);
        return true;
    }
    void OnLanguageChange() {
        if (const auto data = languages.GetItemData(languages.GetCurSel()))
            chosen.push_back(*data);
    }

protected:
    void DoDataExchange(fw::CDataExchange* dx) override {
        fw::DDX_Control(dx, IDC_LANGUAGE_LIST, languages);
    }
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_command(IDC_LANGUAGE_LIST, ui::notify::cbn_selchange,
                           &start_page::OnLanguageChange),
        };
        static const fw::message_map map{&CDialog::own_messages(), entries};
        return map;
    }
};

// Exit asks first and leaves only on Yes: its own IDCANCEL entry is found before the base's.
class confirming_frame : public frame_dialog {
public:
    using frame_dialog::frame_dialog;

    void OnExit() {
        if (fw::AfxMessageBox(L"Leave?", ui::mb::yes_no | ui::mb::default_button2) == ui::idyes)
            EndDialog(ui::idcancel);
    }

protected:
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_command(ui::idcancel, ui::notify::bn_clicked, &confirming_frame::OnExit),
        };
        static const fw::message_map map{&frame_dialog::own_messages(), entries};
        return map;
    }
};

// Maximizing never changes the window: the maximized size and place are the window's own.
class fixed_size_frame : public frame_dialog {
public:
    using frame_dialog::frame_dialog;

    void OnGetMinMaxInfo(fw::MINMAXINFO* info) override {
        CDialog::OnGetMinMaxInfo(info);
        fw::rect own;
        GetWindowRect(&own);
        info->max_size = {own.right - own.left, own.bottom - own.top};
        info->max_position = {own.left, own.top};
    }

protected:
    const fw::message_map* GetMessageMap() const override { return &own_messages(); }
    static const fw::message_map& own_messages() {
        static const fw::message_map_entry entries[] = {
            fw::on_get_min_max_info(&fixed_size_frame::OnGetMinMaxInfo),
        };
        static const fw::message_map map{&frame_dialog::own_messages(), entries};
        return map;
    }
};

TEST(framework_dialog, do_modal_ends_as_the_dialog_is_ended) {
    const struct {
        const char* what;
        std::vector<ui::driver_action> script;
        bool end_in_init;
        std::intptr_t expected;
    } cases[] = {
        {"Next is OnOK", {action::click{IDC_NEXT}}, false, ui::idok},
        {"Enter presses the default button",
         {action::press{ui::dialog_key::enter}},
         false,
         ui::idok},
        {"Exit is OnCancel", {action::click{IDC_EXIT}}, false, ui::idcancel},
        {"Esc is OnCancel", {action::press{ui::dialog_key::escape}}, false, ui::idcancel},
        {"a handler's EndDialog", {action::click{IDC_BACK}}, false, 42},
        {"EndDialog in OnInitDialog ends before any input", {}, true, 7},
        {"no more input before the end", {}, false, -1},
    };
    for (const auto& c : cases) {
        framework_session ui_session;
        ui_session.input.script.assign(c.script.begin(), c.script.end());
        exchange_page page;
        frame_dialog frame(page, IDD_END_PAGE);
        frame.on_back = [](frame_dialog& f) { f.EndDialog(42); };
        if (c.end_in_init)
            frame.on_init = [](frame_dialog& f) { f.EndDialog(7); };
        EXPECT_EQ(frame.DoModal(), c.expected) << c.what;
        EXPECT_EQ(frame.GetSafeHwnd(), nullptr) << c.what;
        EXPECT_EQ(page.GetSafeHwnd(), nullptr) << c.what;
        EXPECT_TRUE(ui_session.input.script.empty()) << c.what;
    }
}

TEST(framework_dialog, a_dialog_runs_again_after_it_ended) {
    framework_session ui_session;
    ui_session.input.script = {action::click{IDC_EXIT}, action::click{IDC_NEXT}};
    exchange_page page;
    frame_dialog frame(page, IDD_END_PAGE);
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    EXPECT_EQ(frame.DoModal(), ui::idok);
}

TEST(framework_dialog, a_template_the_program_lacks_fails) {
    framework_session ui_session;
    fw::CDialog missing(999);
    EXPECT_EQ(missing.DoModal(), -1);
    exchange_page page;
    frame_dialog frame(page, 999);
    frame.on_init = [](frame_dialog& f) { f.EndDialog(f.page.GetSafeHwnd() ? 1 : 0); };
    EXPECT_EQ(frame.DoModal(), 0);
}

TEST(framework_dialog, clicks_reach_the_page_handlers) {
    framework_session ui_session;
    shortcut_page page;
    frame_dialog frame(page, IDD_SHORTCUT_PAGE);
    std::vector<bool> folder_enabled;
    ui_session.input.before_turn = [&](ui::dialog&) {
        folder_enabled.push_back(page.GetDlgItem(IDC_FOLDER)->IsWindowEnabled());
    };
    ui_session.input.script = {action::click{IDC_BROWSE}, action::click{IDC_MENU_SHORTCUT},
                               action::click{IDC_MENU_SHORTCUT}, action::click{IDC_BROWSE},
                               action::click{IDC_EXIT}};
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    // The check box starts cleared; the first click ticks it, the second clears it and disables
    // Browse, whose last click is then ignored.
    EXPECT_EQ(folder_enabled, (std::vector{true, true, true, false, false}));
    EXPECT_EQ(page.browse_clicks, 1);
}

TEST(framework_dialog, a_selection_change_reaches_the_page_with_the_item_data) {
    framework_session ui_session;
    start_page page;
    frame_dialog frame(page, IDD_START_PAGE);
    ui_session.input.script = {action::select_item{IDC_LANGUAGE_LIST, 2},
                               action::select_item{IDC_LANGUAGE_LIST, 0},
                               action::select_item{IDC_LANGUAGE_LIST, 5}, action::click{IDC_EXIT}};
    ui_session.input.before_turn = [&](ui::dialog&) {
        EXPECT_EQ(page.languages.GetCount(), 3);
        ASSERT_NE(page.languages.GetImageList(), nullptr);
    };
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    EXPECT_EQ(page.chosen, (std::vector<std::intptr_t>{2, 0}));
    // The control object lets go of the control with the dialog.
    EXPECT_EQ(page.languages.GetSafeHwnd(), nullptr);
    EXPECT_EQ(page.languages.GetCurSel(), fw::CB_ERR);
}

TEST(framework_dialog, a_derived_entry_comes_before_the_base_one) {
    framework_session ui_session;
    exchange_page page;
    confirming_frame frame(page, IDD_END_PAGE);
    ui_session.input.answers = {ui::idno, ui::idyes};
    ui_session.input.script = {action::click{IDC_EXIT}, action::press{ui::dialog_key::escape},
                               action::click{IDC_NEXT}};
    // No keeps the frame open; Yes ends it before Next is reached.
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    EXPECT_EQ(ui_session.input.boxes.size(), 2u);
    EXPECT_EQ(ui_session.input.script.size(), 1u);
}

TEST(framework_dialog, system_commands_reach_the_handler_which_may_leave_them_to_the_default) {
    framework_session ui_session;
    exchange_page page;
    frame_dialog frame(page, IDD_END_PAGE);
    ui_session.input.script = {action::close{}};
    frame.on_init = [](frame_dialog& f) {
        auto* model = dynamic_cast<ui::dialog*>(f.GetSafeHwnd());
        model->system_command(ui::sc::move);
    };
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    EXPECT_EQ(frame.system_commands, (std::vector<std::uint32_t>{ui::sc::move, ui::sc::close}));
}

TEST(framework_dialog, notifications_while_loading_the_controls_are_not_dispatched) {
    framework_session ui_session;
    class counting_page : public exchange_page {
    public:
        int changes = 0;
        void OnFolderChange() { ++changes; }

    protected:
        const fw::message_map* GetMessageMap() const override { return &own_messages(); }
        static const fw::message_map& own_messages() {
            static const fw::message_map_entry entries[] = {
                fw::on_command(IDC_FOLDER, ui::notify::en_change, &counting_page::OnFolderChange),
            };
            static const fw::message_map map{&CDialog::own_messages(), entries};
            return map;
        }
    } page;
    std::wstring folder = L"C:\\Apps";
    page.exchange = [&](fw::CDataExchange* dx) { fw::DDX_Text(dx, IDC_FOLDER, folder); };
    frame_dialog frame(page, IDD_FOLDER_PAGE);
    ui_session.input.script = {action::type_text{IDC_FOLDER, L"D:\\"}, action::click{IDC_EXIT}};
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    // Only the typing counts, not the text the page's OnInitDialog loaded.
    EXPECT_EQ(page.changes, 1);
}

} // namespace

namespace {

TEST(framework_dialog, the_min_max_handler_changes_the_renderers_proposal) {
    const fw::MINMAXINFO proposal{{1030, 776}, {-3, -3}, {112, 27}, {1036, 780}};
    const auto asked = [&](frame_dialog& frame) {
        framework_session ui_session;
        fw::MINMAXINFO answer;
        frame.on_init = [&](frame_dialog& f) {
            answer = dynamic_cast<ui::dialog&>(*f.GetSafeHwnd()).query_min_max_info(proposal);
            f.EndDialog(ui::idok);
        };
        frame.DoModal();
        return answer;
    };
    exchange_page page;
    frame_dialog plain(page, IDD_END_PAGE);
    EXPECT_EQ(asked(plain), proposal);

    fixed_size_frame fixed(page, IDD_END_PAGE);
    const fw::MINMAXINFO answer = asked(fixed);
    const ui::rect frame_rect = ui::dialog_units_to_pixels(0, 0, 273, 139);
    EXPECT_EQ(answer.max_size, (ui::point{frame_rect.width(), frame_rect.height()}));
    EXPECT_EQ(answer.max_position, (ui::point{0, 0}));
    EXPECT_EQ(answer.min_track_size, proposal.min_track_size);
}

} // namespace
