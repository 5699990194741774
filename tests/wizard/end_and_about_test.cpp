// The end page and the about box in the frame, on the headless driver.

#include "wizard/about_dlg.h"
#include "wizard/dlg_end.h"

#include "app/language_state.h"
#include "app/language_table.h"

#include "tests/platform/framework/framework_fixture.h"

#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace ui = platform::ui;
namespace action = ui::user_action;
using qv_test::framework_session;

std::wstring text_of(fw::CWnd& page, int id) {
    return page.GetDlgItem(id)->GetWindowText();
}

ui::rect rect_in(fw::CWnd& page, int id) {
    ui::rect area;
    page.GetDlgItem(id)->GetWindowRect(&area);
    page.ScreenToClient(&area);
    return area;
}

TEST(end_page, the_result_shows_only_after_a_successful_installation) {
    qv::set_language(qv::languages::english);
    framework_session ui_session;
    qv::install_session session;
    qv::CDlgEnd page(session);
    qv_test::frame_dialog frame(page, IDD_END_PAGE);
    std::vector<std::wstring> seen;
    frame.on_init = [&](qv_test::frame_dialog&) {
        page.ApplyLanguage();
        seen.push_back(text_of(page, IDC_INFO));
        seen.push_back(text_of(page, IDC_STATUS));
        page.UpdateData(false);
        seen.push_back(text_of(page, IDC_INFO));
        session.installed = true;
        page.UpdateData(false);
        seen.push_back(text_of(page, IDC_INFO));
        EXPECT_TRUE(page.UpdateData(true));
        // A language change before the installation empties the result again.
        qv::set_language(qv::languages::german);
        page.ApplyLanguage();
        seen.push_back(text_of(page, IDC_INFO));
        seen.push_back(text_of(page, IDC_STATUS));
    };
    ui_session.input.script = {action::click{IDC_EXIT}};
    frame.DoModal();
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[0], L"");
    EXPECT_EQ(seen[1], L"Click on 'Exit' to exit Installation.");
    EXPECT_EQ(seen[2], L"");
    EXPECT_EQ(seen[3], L"Installation is complete.");
    EXPECT_EQ(seen[4], L"");
    EXPECT_NE(seen[5], seen[1]);
    EXPECT_NE(seen[5].find(L"'"), std::wstring::npos);
}

TEST(end_page, stretching_widens_both_lines_and_lowers_the_status) {
    framework_session ui_session;
    qv::install_session session;
    qv::CDlgEnd page(session);
    qv_test::frame_dialog frame(page, IDD_END_PAGE);
    ui::rect info_before, status_before, info_after, status_after;
    frame.on_init = [&](qv_test::frame_dialog&) {
        info_before = rect_in(page, IDC_INFO);
        status_before = rect_in(page, IDC_STATUS);
        page.Stretch(30, 20);
        info_after = rect_in(page, IDC_INFO);
        status_after = rect_in(page, IDC_STATUS);
    };
    ui_session.input.script = {action::click{IDC_EXIT}};
    frame.DoModal();
    EXPECT_EQ(info_after, (ui::rect{info_before.left, info_before.top, info_before.right + 30,
                                    info_before.bottom + 20}));
    EXPECT_EQ(status_after, (ui::rect{status_before.left, status_before.top + 20,
                                      status_before.right + 30, status_before.bottom + 20}));
}

TEST(about_box, texts_in_the_current_language_and_from_the_version_resource) {
    framework_session ui_session;
    std::vector<std::wstring> seen;
    ui_session.input.on_first_turn([&](ui::dialog& active) {
        seen.push_back(active.title());
        seen.push_back(active.child(IDC_VERSION_LINE)->text());
        seen.push_back(active.child(IDC_COPYRIGHT)->text());
        seen.push_back(active.child(IDC_NEXT)->text());
    });
    ui_session.input.script = {action::click{IDC_NEXT}};
    qv::set_language(qv::languages::english);
    {
        qv::CAboutDlg about;
        EXPECT_EQ(about.DoModal(), ui::idok);
    }
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], L"About 'Installer'");
    // The installer's own name and version, not the template's placeholder.
    EXPECT_EQ(seen[1], L"Install 2.04a");
    EXPECT_EQ(seen[2], L"Copyright \u00a9 Quorvane. All rights reserved.");
    EXPECT_EQ(seen[3], L"OK");

    seen.clear();
    ui_session.input.on_first_turn([&](ui::dialog& active) { seen.push_back(active.title()); });
    ui_session.input.script = {action::click{IDC_NEXT}};
    qv::set_language(qv::languages::german);
    qv::CAboutDlg again;
    again.DoModal();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0], L"About 'Installer'");
}

} // namespace
