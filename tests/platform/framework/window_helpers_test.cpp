// The typed helpers of CWnd and the control classes over the controls of the wizard's
// templates: rectangles and moves, texts and states, edits, progress bars, the extended combo
// box and its image list.

#include "tests/platform/framework/framework_fixture.h"

#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog_units.h"

#include <gtest/gtest.h>

namespace {

using namespace qv_test;
namespace action = ui::user_action;

// Runs the check inside the frame showing the page, then leaves.
void inside(int page_template, const std::function<void(frame_dialog&)>& check) {
    framework_session ui_session;
    exchange_page page;
    frame_dialog frame(page, page_template);
    frame.on_init = [&](frame_dialog& f) {
        check(f);
        f.EndDialog(ui::idok);
    };
    EXPECT_EQ(frame.DoModal(), ui::idok);
}

TEST(cwnd, screen_and_client_rectangles_agree_between_frame_and_page) {
    inside(IDD_FOLDER_PAGE, [](frame_dialog& frame) {
        // The page area's left edge is the banner background's right edge, in frame client
        // coordinates, as the wizard's layout takes it.
        fw::rect banner;
        frame.GetDlgItem(IDC_BANNER_BACKGROUND)->GetWindowRect(&banner);
        frame.ScreenToClient(&banner);
        EXPECT_EQ(banner, ui::dialog_units_to_pixels(-3, 0, 67, 112));

        // A control of the page, on the screen, is the page's origin plus the control's place.
        frame.page.SetWindowPos(nullptr, banner.right, 0, 0, 0,
                                fw::SWP_NOSIZE | fw::SWP_NOZORDER | fw::SWP_NOREDRAW);
        fw::rect edit;
        frame.page.GetDlgItem(IDC_FOLDER)->GetWindowRect(&edit);
        frame.ScreenToClient(&edit);
        const fw::rect in_page = ui::dialog_units_to_pixels(16, 39, 177, 12);
        EXPECT_EQ(edit, (fw::rect{in_page.left + banner.right, in_page.top,
                                  in_page.right + banner.right, in_page.bottom}));
        fw::rect back = edit;
        frame.ClientToScreen(&back);
        frame.page.ScreenToClient(&back);
        EXPECT_EQ(back, in_page);
    });
}

TEST(cwnd, set_window_pos_keeps_what_its_flags_say) {
    inside(IDD_FOLDER_PAGE, [](frame_dialog& frame) {
        fw::CWnd& browse = *frame.page.GetDlgItem(IDC_BROWSE);
        const ui::rect before = browse.GetSafeHwnd()->rect();
        const struct {
            std::uint32_t flags;
            ui::rect expected;
        } cases[] = {
            {fw::SWP_NOSIZE, {5, 6, 5 + before.width(), 6 + before.height()}},
            {fw::SWP_NOMOVE, {before.left, before.top, before.left + 70, before.top + 30}},
            {0, {5, 6, 75, 36}},
        };
        for (const auto& c : cases) {
            browse.GetSafeHwnd()->set_rect(before);
            browse.SetWindowPos(nullptr, 5, 6, 70, 30, c.flags | fw::SWP_NOZORDER);
            EXPECT_EQ(browse.GetSafeHwnd()->rect(), c.expected) << c.flags;
        }
        fw::rect client;
        browse.GetClientRect(&client);
        EXPECT_EQ(client, (fw::rect{0, 0, 70, 30}));
    });
}

TEST(cwnd, texts_states_and_focus) {
    inside(IDD_FOLDER_PAGE, [](frame_dialog& frame) {
        fw::CWnd& label = *frame.page.GetDlgItem(IDC_FOLDER_LABEL);
        label.SetWindowText(L"Select 'Varnolis' Installation Folder.");
        EXPECT_EQ(label.GetWindowText(), L"Select 'Varnolis' Installation Folder.");
        EXPECT_EQ(label.GetWindowTextLength(), 38);
        EXPECT_EQ(frame.page.GetDlgItem(IDC_FOLDER_LABEL), &label);
        EXPECT_EQ(frame.page.GetDlgItem(IDC_LOG), nullptr);

        fw::CWnd& browse = *frame.page.GetDlgItem(IDC_BROWSE);
        EXPECT_FALSE(browse.EnableWindow(false));
        EXPECT_TRUE(browse.EnableWindow(false));
        frame.ShowWindow(fw::SW_SHOW);
        EXPECT_FALSE(browse.SetFocus());
        EXPECT_TRUE(browse.EnableWindow(true));
        EXPECT_TRUE(browse.SetFocus());
        EXPECT_EQ(dynamic_cast<ui::dialog*>(frame.GetSafeHwnd())->focus(), browse.GetSafeHwnd());

        EXPECT_TRUE(frame.page.ShowWindow(fw::SW_HIDE));
        EXPECT_FALSE(browse.IsWindowVisible());
        EXPECT_FALSE(frame.page.ShowWindow(fw::SW_SHOW));

        frame.SetDefID(IDC_EXIT);
        EXPECT_EQ(dynamic_cast<ui::dialog*>(frame.GetSafeHwnd())->default_id(), IDC_EXIT);
    });
}

TEST(cwnd, edit_helpers_reach_the_edit_and_nothing_else) {
    inside(IDD_INSTALL_PAGE, [](frame_dialog& frame) {
        fw::CWnd& log = *frame.page.GetDlgItem(IDC_LOG);
        auto& model = dynamic_cast<ui::edit&>(*log.GetSafeHwnd());
        log.SetSel(-1, -1);
        log.ReplaceSel(L"Copying files\r\n");
        log.SetSel(-1, -1);
        log.ReplaceSel(L"Writing the registry\r\n");
        EXPECT_EQ(log.GetWindowText(), L"Copying files\r\nWriting the registry\r\n");
        log.SetSel(0, 7);
        EXPECT_EQ(log.GetSel(), (ui::edit_selection{0, 7}));
        EXPECT_EQ(log.GetMargins(), ui::edit::default_margins);
        log.SetReadOnly(false);
        EXPECT_FALSE(model.is_read_only());
        log.SetReadOnly();
        EXPECT_TRUE(model.is_read_only());
        log.LimitText(12);
        EXPECT_EQ(model.limit(), 12);
        std::wstring lines;
        for (int line = 0; line < 20; ++line)
            lines += L"line\r\n";
        log.SetWindowText(lines);
        log.LineScroll(2);
        EXPECT_EQ(model.first_visible_line(), 2);

        fw::CWnd& progress = *frame.page.GetDlgItem(IDC_PROGRESS);
        EXPECT_EQ(progress.SetRange32(0, 1000), (ui::progress_range{0, 100}));
        EXPECT_EQ(progress.SetPos(250), 0);
        EXPECT_EQ(progress.SetPos(2000), 250);
        EXPECT_EQ(dynamic_cast<ui::progress_bar&>(*progress.GetSafeHwnd()).position(), 1000);

        // Edit and progress messages to a static control change nothing.
        fw::CWnd& status = *frame.page.GetDlgItem(IDC_STATUS);
        const std::wstring status_text = status.GetWindowText();
        status.ReplaceSel(L"x");
        EXPECT_EQ(status.SetPos(5), 0);
        EXPECT_EQ(status.GetWindowText(), status_text);
    });
}

TEST(ccomboboxex, items_images_selection_and_width) {
    framework_session ui_session;
    exchange_page page;
    fw::CComboBoxEx list;
    fw::CImageList flags;
    page.exchange = [&](fw::CDataExchange* dx) { fw::DDX_Control(dx, IDC_LANGUAGE_LIST, list); };
    frame_dialog frame(page, IDD_START_PAGE);
    frame.on_init = [&](frame_dialog& f) {
        EXPECT_EQ(flags.Add(144), -1) << "before Create";
        ASSERT_TRUE(flags.Create(18, 12, fw::ILC_COLOR24, 8, 1));
        EXPECT_FALSE(flags.Create(18, 12, fw::ILC_COLOR24, 8, 1));
        EXPECT_EQ(list.SetImageList(&flags), nullptr);
        EXPECT_EQ(flags.Add(144), 0);
        EXPECT_EQ(flags.Add(145), 1);
        EXPECT_EQ(flags.Add(999), -1) << "no such icon in the program";
        EXPECT_EQ(flags.GetImageCount(), 2);

        EXPECT_EQ(list.InsertItem(-1, {L"English", 1, 1, 1}), 0);
        EXPECT_EQ(list.InsertItem(0, {L"Français", 0, 0, 0}), 0);
        EXPECT_EQ(list.InsertItem(5, {L"Nowhere", 0, 0, 9}), fw::CB_ERR);
        EXPECT_EQ(list.GetCount(), 2);
        EXPECT_EQ(list.GetItemText(1), L"English");
        EXPECT_EQ(list.GetItemData(0), 0);
        EXPECT_EQ(list.GetItemData(2), std::nullopt);
        EXPECT_EQ(list.GetCurSel(), fw::CB_ERR);
        EXPECT_EQ(list.SetCurSel(1), 1);
        EXPECT_EQ(list.GetCurSel(), 1);
        EXPECT_EQ(list.SetCurSel(7), fw::CB_ERR);
        EXPECT_EQ(list.GetCurSel(), fw::CB_ERR);

        const int control_width = list.GetSafeHwnd()->rect().width();
        EXPECT_EQ(list.SetDroppedWidth(control_width + 40), control_width + 40);
        EXPECT_EQ(list.SetDroppedWidth(10), control_width);

        auto& model = dynamic_cast<ui::combo_box_ex&>(*list.GetSafeHwnd());
        ASSERT_NE(model.images(), nullptr);
        EXPECT_EQ(model.images()->icons, (std::vector<std::uint16_t>{144, 145}));
        EXPECT_EQ(model.images()->width, 18);
        EXPECT_EQ(list.SetImageList(nullptr), &flags);
        EXPECT_EQ(model.images(), nullptr);
        f.EndDialog(ui::idok);
    };
    EXPECT_EQ(frame.DoModal(), ui::idok);
}

} // namespace
