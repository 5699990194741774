// The application object and its message boxes: caption, icon rule, owner and the main window
// disabled while a box is up; the program's run through InitInstance and ExitInstance.

#include "tests/platform/framework/framework_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace qv_test;
namespace action = ui::user_action;

TEST(afx_message_box, a_type_without_icon_gets_the_icon_of_its_buttons) {
    const struct {
        std::uint32_t type;
        std::uint32_t shown;
    } cases[] = {
        {ui::mb::ok, 0x30},
        {ui::mb::yes_no | ui::mb::default_button2, 0x124},
        {ui::mb::yes_no_cancel, 0x23},
        {ui::mb::retry_cancel, 0x05},
        {ui::mb::ok | ui::mb::icon_asterisk, 0x40},
        {ui::mb::retry_cancel | ui::mb::icon_exclamation, 0x35},
    };
    framework_session ui_session;
    for (const auto& c : cases)
        fw::AfxMessageBox(L"Text", c.type);
    ASSERT_EQ(ui_session.input.boxes.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(ui_session.input.boxes[i].type, cases[i].shown) << std::hex << cases[i].type;
}

TEST(afx_message_box, the_caption_is_the_application_name_as_it_is_now) {
    framework_session ui_session;
    fw::AfxMessageBox(L"One");
    ui_session.app.m_pszAppName = L"Installationsprogramm – Varnolis 2.32g";
    fw::AfxMessageBox(L"Two");
    ASSERT_EQ(ui_session.input.boxes.size(), 2u);
    EXPECT_EQ(ui_session.input.boxes[0].caption, L"Installer – Varnolis 2.32g");
    EXPECT_EQ(ui_session.input.boxes[0].text, L"One");
    EXPECT_EQ(ui_session.input.boxes[1].caption, L"Installationsprogramm – Varnolis 2.32g");
}

TEST(afx_message_box, a_string_id_shows_the_program_string) {
    framework_session ui_session;
    fw::AfxMessageBox(2126, ui::mb::ok | ui::mb::icon_exclamation);
    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    EXPECT_EQ(ui_session.input.boxes[0].text,
              L"You should have Administrator Rights in order to proceed to Installation.");
}

TEST(afx_message_box, the_answer_is_the_users) {
    framework_session ui_session;
    ui_session.input.answers = {ui::idno, ui::idretry};
    EXPECT_EQ(fw::AfxMessageBox(L"?", ui::mb::yes_no), ui::idno);
    EXPECT_EQ(fw::AfxMessageBox(L"?", ui::mb::retry_cancel), ui::idretry);
    // Without an answer of its own the driver presses the default button.
    EXPECT_EQ(fw::AfxMessageBox(L"?", ui::mb::yes_no | ui::mb::default_button2), ui::idno);
    EXPECT_EQ(fw::AfxMessageBox(L"?", ui::mb::ok_cancel), ui::idok);
}

TEST(afx_message_box, the_running_dialog_owns_the_box_and_the_main_window_is_disabled_meanwhile) {
    framework_session ui_session;
    exchange_page page;
    frame_dialog frame(page, IDD_END_PAGE);
    ui_session.app.m_pMainWnd = &frame;
    std::vector<bool> main_enabled_after;
    frame.on_back = [&](frame_dialog& f) {
        ui_session.input.main_window = f.GetSafeHwnd();
        fw::AfxMessageBox(L"From the frame");
        main_enabled_after.push_back(f.IsWindowEnabled());
    };
    ui_session.input.script = {action::click{IDC_BACK}, action::click{IDC_EXIT}};
    EXPECT_EQ(frame.DoModal(), ui::idcancel);
    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    const shown_box& box = ui_session.input.boxes[0];
    EXPECT_NE(box.owner, nullptr);
    EXPECT_EQ(box.owner, ui_session.input.main_window);
    EXPECT_FALSE(box.owner_enabled);
    EXPECT_FALSE(box.main_enabled);
    EXPECT_EQ(main_enabled_after, std::vector{true});
}

TEST(afx_message_box, a_box_over_a_dialog_on_top_of_the_main_window_disables_both) {
    framework_session ui_session;
    exchange_page main_page;
    frame_dialog main_frame(main_page, IDD_END_PAGE);
    ui_session.app.m_pMainWnd = &main_frame;
    const ui::window* inner_window = nullptr;
    std::vector<bool> enabled_after;
    main_frame.on_init = [&](frame_dialog& outer) {
        ui_session.input.main_window = outer.GetSafeHwnd();
        exchange_page inner_page;
        frame_dialog inner(inner_page, IDD_END_PAGE);
        inner.on_back = [&](frame_dialog& f) {
            inner_window = f.GetSafeHwnd();
            fw::AfxMessageBox(L"From the inner dialog");
            enabled_after = {outer.IsWindowEnabled(), f.IsWindowEnabled()};
        };
        ui_session.input.script = {action::click{IDC_BACK}, action::click{IDC_NEXT}};
        inner.DoModal();
        enabled_after.push_back(outer.IsWindowEnabled());
        outer.EndDialog(ui::idok);
    };
    EXPECT_EQ(main_frame.DoModal(), ui::idok);
    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    // The running inner dialog owns the box; the main window stays disabled under both.
    EXPECT_EQ(ui_session.input.boxes[0].owner, inner_window);
    EXPECT_FALSE(ui_session.input.boxes[0].owner_enabled);
    EXPECT_FALSE(ui_session.input.boxes[0].main_enabled);
    EXPECT_EQ(enabled_after, (std::vector{false, true, true}));
}

TEST(afx_message_box, without_a_window_the_box_has_no_owner) {
    framework_session ui_session;
    fw::AfxMessageBox(L"Alone");
    ASSERT_EQ(ui_session.input.boxes.size(), 1u);
    EXPECT_EQ(ui_session.input.boxes[0].owner, nullptr);
}

class dialog_program : public fw::CWinApp {
public:
    std::vector<std::string> calls;
    bool init_result = false;
    std::intptr_t dialog_result = 0;

    explicit dialog_program(ui::desktop& session) : CWinApp(session, L"Program") {}

    bool InitInstance() override {
        calls.push_back("InitInstance");
        exchange_page page;
        frame_dialog frame(page, IDD_END_PAGE);
        m_pMainWnd = &frame;
        dialog_result = frame.DoModal();
        m_pMainWnd = nullptr;
        return init_result;
    }
    int ExitInstance() override {
        calls.push_back("ExitInstance");
        return dialog_result == ui::idok ? 0 : 1;
    }
    int Run() override {
        calls.push_back("Run");
        return CWinApp::Run();
    }
};

TEST(cwinapp, a_dialog_program_ends_with_the_exit_code_of_exit_instance) {
    const struct {
        bool init_result;
        ui::driver_action answer;
        std::vector<std::string> calls;
        int exit_code;
    } cases[] = {
        {false, action::click{IDC_NEXT}, {"InitInstance", "ExitInstance"}, 0},
        {false, action::click{IDC_EXIT}, {"InitInstance", "ExitInstance"}, 1},
        {true, action::click{IDC_NEXT}, {"InitInstance", "Run", "ExitInstance"}, 0},
    };
    for (const auto& c : cases) {
        framework_driver input;
        ui::desktop session{std::make_unique<ui::headless_renderer>(input)};
        input.script = {c.answer};
        dialog_program program(session);
        program.init_result = c.init_result;
        EXPECT_EQ(fw::AfxGetApp(), &program);
        EXPECT_EQ(fw::AfxWinMain(program), c.exit_code);
        EXPECT_EQ(program.calls, c.calls);
    }
    EXPECT_EQ(fw::AfxGetApp(), nullptr);
}

TEST(cwinapp, without_an_application_nothing_is_shown) {
    EXPECT_EQ(fw::AfxGetApp(), nullptr);
    EXPECT_EQ(fw::AfxMessageBox(L"Nobody sees this"), 0);
    fw::CDialog orphan(IDD_ABOUT);
    EXPECT_EQ(orphan.DoModal(), -1);
}

} // namespace
