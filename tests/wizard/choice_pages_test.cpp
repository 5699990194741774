// The method, folder and shortcut pages in the frame, on the headless driver and a temporary
// machine.

#include "wizard/dlg_mode.h"
#include "wizard/dlg_path.h"
#include "wizard/dlg_shortcut.h"

#include "app/default_folders.h"
#include "app/language_state.h"
#include "app/language_table.h"
#include "platform/os/machine.h"
#include "platform/ui/folder_browse_dialog.h"

#include "tests/platform/framework/framework_fixture.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace ui = platform::ui;
namespace action = ui::user_action;
using qv_test::framework_session;

const std::wstring start_menu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";

struct page_session : framework_session {
    qv_test::temp_machine machine;
    qv::install_session session;

    page_session() {
        qv::set_language(qv::languages::english);
        session.install_folder = qv::default_install_folder();
        session.shortcut_folder = qv::default_shortcut_folder();
    }
};

// Shows the page in the frame, lets the check look at it once, plays the script, and leaves with
// Next (which saves the page) unless the script ends the frame itself.
template <class Page>
void run_page(Page& page, int page_template, std::function<void(Page&)> check = {}) {
    qv_test::frame_dialog frame(page, page_template);
    frame.on_init = [&](qv_test::frame_dialog&) {
        page.ApplyLanguage();
        if (check)
            check(page);
    };
    frame.DoModal();
}

TEST(method_page, loads_and_saves_the_method) {
    page_session ui;
    qv::CDlgMode page(ui.session);
    ui.input.script = {action::set_check{IDC_ADVANCED_METHOD, ui::check_state::checked},
                       action::click{IDC_NEXT}};
    run_page<qv::CDlgMode>(page, IDD_METHOD_PAGE, [](qv::CDlgMode& shown) {
        EXPECT_EQ(shown.IsDlgButtonChecked(IDC_QUICK_METHOD), 1);
        EXPECT_EQ(shown.GetDlgItem(IDC_ADVANCED_METHOD)->GetWindowText(), L"Advanced Installation");
        EXPECT_EQ(shown.GetDlgItem(IDC_STATUS)->GetWindowText(), L"Click on 'Next' to continue.");
    });
    EXPECT_TRUE(ui.session.advanced_method);

    ui.input.script = {action::set_check{IDC_QUICK_METHOD, ui::check_state::checked},
                       action::click{IDC_NEXT}};
    qv::CDlgMode again(ui.session);
    run_page<qv::CDlgMode>(again, IDD_METHOD_PAGE, [](qv::CDlgMode& shown) {
        EXPECT_EQ(shown.IsDlgButtonChecked(IDC_ADVANCED_METHOD), 1);
    });
    EXPECT_FALSE(ui.session.advanced_method);
}

TEST(folder_page, an_earlier_installation_keeps_its_folder) {
    struct {
        qv::install_state state;
        bool editable;
    } const cases[] = {
        {qv::install_state::not_installed, true},
        {qv::install_state::same_version_installed, false},
        {qv::install_state::older_installed, false},
        {qv::install_state::newer_installed, false},
    };
    for (const auto& c : cases) {
        page_session ui;
        ui.session.install_state = c.state;
        qv::CDlgPath page(ui.session);
        ui.input.script = {action::type_text{IDC_FOLDER, L"D:\\Elsewhere"},
                           action::click{IDC_NEXT}};
        run_page<qv::CDlgPath>(page, IDD_FOLDER_PAGE, [&](qv::CDlgPath& shown) {
            EXPECT_EQ(shown.GetDlgItem(IDC_FOLDER)->GetWindowText(),
                      L"C:\\Program Files\\Quorvane\\Varnolis 2");
            EXPECT_EQ(shown.GetDlgItem(IDC_BROWSE)->IsWindowEnabled(), c.editable);
            EXPECT_EQ(shown.GetDlgItem(IDC_FOLDER_LABEL)->IsWindowEnabled(), c.editable);
            EXPECT_EQ(shown.GetDlgItem(IDC_FOLDER_LABEL)->GetWindowText(),
                      L"Select 'Varnolis' Installation Folder.");
        });
        EXPECT_EQ(ui.session.install_folder,
                  c.editable ? L"D:\\Elsewhere" : L"C:\\Program Files\\Quorvane\\Varnolis 2")
            << static_cast<int>(c.state);
    }
}

TEST(folder_page, browsing_proposes_the_product_folder_once) {
    page_session ui;
    const auto drive = ui.machine.root() / "drive_d";
    std::filesystem::create_directories(drive / "Apps" / "Varnolis 2");
    std::filesystem::create_directory_symlink(drive,
                                              platform::os::machine_root() / "dosdevices" / "d:");
    qv::CDlgPath page(ui.session);
    std::wstring shown_after;
    ui.input.script = {
        action::click{IDC_BROWSE},
        action::select_folder{ui::folder_browse_dialog::tree_id, L"D:\\Apps\\Varnolis 2"},
        action::click{ui::idok},
        action::click{IDC_NEXT},
    };
    ui.input.before_turn = [&](ui::dialog&) {
        if (auto* folder = page.GetDlgItem(IDC_FOLDER))
            shown_after = folder->GetWindowText();
    };
    run_page<qv::CDlgPath>(page, IDD_FOLDER_PAGE);
    EXPECT_EQ(ui.session.install_folder, L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(shown_after, L"D:\\Apps\\Varnolis 2");
}

TEST(shortcut_page, the_menu_folder_relative_to_the_start_menu) {
    page_session ui;
    qv::CDlgShortcut page(ui.session);
    ui.input.script = {action::click{IDC_NEXT}};
    run_page<qv::CDlgShortcut>(page, IDD_SHORTCUT_PAGE, [](qv::CDlgShortcut& shown) {
        EXPECT_EQ(shown.GetDlgItem(IDC_FOLDER)->GetWindowText(), L"Programs\\Quorvane\\Varnolis 2");
        EXPECT_TRUE(shown.GetDlgItem(IDC_BROWSE)->IsWindowEnabled());
        EXPECT_EQ(shown.IsDlgButtonChecked(IDC_DESKTOP_SHORTCUT), 1);
    });
    EXPECT_EQ(ui.session.shortcut_folder, start_menu + L"\\Programs\\Quorvane\\Varnolis 2");

    // The Start-menu folder itself shows as empty and comes back whole.
    ui.session.shortcut_folder = start_menu;
    qv::CDlgShortcut root(ui.session);
    ui.input.script = {action::click{IDC_NEXT}};
    run_page<qv::CDlgShortcut>(root, IDD_SHORTCUT_PAGE, [](qv::CDlgShortcut& shown) {
        EXPECT_EQ(shown.GetDlgItem(IDC_FOLDER)->GetWindowText(), L"");
    });
    EXPECT_EQ(ui.session.shortcut_folder, start_menu);
}

TEST(shortcut_page, clearing_the_menu_shortcut_disables_its_folder_only) {
    page_session ui;
    qv::CDlgShortcut page(ui.session);
    bool folder_enabled = true, browse_enabled = true, desktop_enabled = false;
    ui.input.script = {action::set_check{IDC_MENU_SHORTCUT, ui::check_state::unchecked},
                       action::click{IDC_NEXT}};
    ui.input.before_turn = [&](ui::dialog&) {
        if (page.IsDlgButtonChecked(IDC_MENU_SHORTCUT) == 0) {
            folder_enabled = page.GetDlgItem(IDC_FOLDER)->IsWindowEnabled();
            browse_enabled = page.GetDlgItem(IDC_BROWSE)->IsWindowEnabled();
            desktop_enabled = page.GetDlgItem(IDC_DESKTOP_SHORTCUT)->IsWindowEnabled();
        }
    };
    run_page<qv::CDlgShortcut>(page, IDD_SHORTCUT_PAGE);
    EXPECT_FALSE(folder_enabled);
    EXPECT_FALSE(browse_enabled);
    EXPECT_TRUE(desktop_enabled);
    EXPECT_FALSE(ui.session.start_menu_shortcut);
    EXPECT_TRUE(ui.session.desktop_shortcut);
    // The folder is kept for when the shortcut is wanted again.
    EXPECT_EQ(ui.session.shortcut_folder, start_menu + L"\\Programs\\Quorvane\\Varnolis 2");
}

} // namespace
