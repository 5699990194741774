#include "wizard/install_dlg.h"

#include "app/language_state.h"
#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/startup.h"
#include "platform/framework/menu.h"
#include "platform/framework/message_box.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/styles.h"
#include "resources/dialog_ids.h"
#include "wizard/about_dlg.h"
#include "wizard/message_box_providers.h"
#include "wizard/page_layout.h"

#include <algorithm>

namespace qv {

namespace fw = platform::framework;
namespace ui = platform::ui;

namespace {

constexpr std::uint32_t cancel_caption = 2;
constexpr std::uint32_t about_format = 3;
constexpr std::uint32_t exit_caption = 4;
constexpr std::uint32_t back_caption = 5;
constexpr std::uint32_t next_caption = 6;
constexpr std::uint32_t install_caption = 7;
constexpr std::uint32_t confirm_exit = 110;

constexpr std::uint32_t move_flags = fw::SWP_NOZORDER | fw::SWP_NOREDRAW | fw::SWP_NOACTIVATE;

// "&About 'Installer'..." (right to left: "...About 'Installer'").
std::wstring about_entry_text() {
    const std::wstring text =
        format_message(localized_text(about_format), {application_title(title_form::plain)});
    if (text.empty())
        return text;
    return language_state::instance().right_to_left ? L"..." + text : L"&" + text + L"...";
}

fw::rect client_rect_of(const fw::CWnd& frame, const fw::CWnd& control) {
    fw::rect area;
    control.GetWindowRect(&area);
    frame.ScreenToClient(&area);
    return area;
}

fw::rect united(const fw::rect& a, const fw::rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

} // namespace

CInstallDlg::CInstallDlg(install_session& session)
    : CDialog(IDD_FRAME), session_(session), m_start(session), m_mode(session), m_path(session),
      m_shortcut(session), m_install(session),
      m_end(session), m_pages{&m_start, &m_mode, &m_path, &m_shortcut, &m_install, &m_end} {}

bool CInstallDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(application_title(title_form::with_product));
    if (fw::CMenu* menu = GetSystemMenu(false)) {
        if (const std::wstring about = about_entry_text(); !about.empty()) {
            menu->AppendMenu(fw::MF_SEPARATOR);
            menu->AppendMenu(fw::MF_STRING, about_command, about);
        }
        menu->DeleteMenu(ui::sc::maximize, fw::MF_BYCOMMAND);
        menu->DeleteMenu(ui::sc::size, fw::MF_BYCOMMAND);
    }
    if (const auto icon = provided_icon())
        SetIcon(static_cast<std::uint16_t>(*icon), true);
    const int templates[page_count] = {IDD_START_PAGE,    IDD_METHOD_PAGE,  IDD_FOLDER_PAGE,
                                       IDD_SHORTCUT_PAGE, IDD_INSTALL_PAGE, IDD_END_PAGE};
    for (int i = 0; i < page_count; ++i)
        m_pages[i]->Create(templates[i], this);
    Layout();
    ApplyLanguage();
    ShowPage(0);
    if (session_.install_state == install_state::newer_installed)
        EnableButton(IDC_NEXT, false);
    return true;
}

void CInstallDlg::Layout() {
    fw::CWnd* banner = GetDlgItem(IDC_BANNER_BACKGROUND);
    fw::CWnd* separator = GetDlgItem(IDC_SEPARATOR);
    if (!banner || !separator)
        return;
    fw::rect area;
    GetClientRect(&area);
    area.left = client_rect_of(*this, *banner).right;
    area.bottom = client_rect_of(*this, *separator).top;

    fw::rect all = area;
    for (wizard_page* page : m_pages) {
        page->SetWindowPos(nullptr, all.left, all.top, 0, 0, fw::SWP_NOSIZE | move_flags);
        all = united(all, client_rect_of(*this, *page));
    }
    const int dx = all.width() - area.width();
    const int dy = all.height() - area.height();
    fw::rect frame_area;
    GetWindowRect(&frame_area);
    SetWindowPos(nullptr, 0, 0, frame_area.width() + dx, frame_area.height() + dy,
                 fw::SWP_NOMOVE | move_flags);
    for (wizard_page* page : m_pages) {
        const fw::rect before = client_rect_of(*this, *page);
        page->SetWindowPos(nullptr, all.left, all.top, all.width(), all.height(), move_flags);
        page->Stretch(all.width() - before.width(), all.height() - before.height());
    }
    grow_control(*this, IDC_BANNER_BACKGROUND, {.heighten = dy});
    grow_control(*this, IDC_SEPARATOR, {.move_down = dy, .widen = dx});
    for (int id : {IDC_BACK, IDC_NEXT, IDC_EXIT})
        grow_control(*this, id, {.move_right = dx, .move_down = dy});
}

void CInstallDlg::EnableButton(int id, bool enable) {
    if (fw::CWnd* button = GetDlgItem(id))
        button->EnableWindow(enable);
}

void CInstallDlg::ShowPage(int target) {
    const int previous = m_current;
    if (previous >= 0) {
        if (!m_pages[previous]->UpdateData(true))
            return;
        m_pages[previous]->ShowWindow(fw::SW_HIDE);
    }
    // The quick method has no folder and shortcut pages: they are passed over either way.
    if (!session_.advanced_method && target != previous) {
        const int step = target > previous ? 1 : -1;
        while (target == 2 || target == 3)
            target += step;
    }
    if (target != previous)
        m_pages[target]->UpdateData(false);
    m_current = target;
    m_pages[target]->ShowWindow(fw::SW_SHOW);
    SetButtonTexts();
    EnableButton(IDC_BACK, m_current > 0 && (!session_.installed || m_current > install_page));
    const bool next_enabled = m_current < end_page;
    EnableButton(IDC_NEXT, next_enabled);
    const int default_button = next_enabled ? IDC_NEXT : IDC_EXIT;
    if (fw::CWnd* button = GetDlgItem(default_button))
        button->SetFocus();
    SetDefID(default_button);
}

void CInstallDlg::SetButtonTexts() {
    const bool install_caption_shown = m_current == install_page && !session_.installed;
    if (fw::CWnd* next = GetDlgItem(IDC_NEXT))
        next->SetWindowText(install_caption_shown ? localized_text(install_caption)
                                                  : localized_text(next_caption) + L"  >");
    if (fw::CWnd* back = GetDlgItem(IDC_BACK))
        back->SetWindowText(L"<  " + localized_text(back_caption));
    if (fw::CWnd* exit = GetDlgItem(IDC_EXIT))
        exit->SetWindowText(localized_text(session_.installed ? exit_caption : cancel_caption));
}

void CInstallDlg::OnOK() {
    if (m_current != install_page || session_.installed) {
        ShowPage(m_current + 1);
        return;
    }
    for (int id : {IDC_BACK, IDC_NEXT, IDC_EXIT})
        EnableButton(id, false);
    session_.installed = m_install.DoInstall();
    ShowPage(install_page);
    EnableButton(IDC_EXIT, true);
}

void CInstallDlg::OnBack() {
    ShowPage(m_current - 1);
}

void CInstallDlg::OnCancel() {
    const bool ask =
        !session_.installed && session_.install_state != install_state::newer_installed &&
        !(session_.install_state == install_state::same_version_installed && m_current == 0);
    if (ask &&
        fw::AfxMessageBox(localized_text(confirm_exit), ui::mb::yes_no | ui::mb::icon_question |
                                                            ui::mb::default_button2) == ui::idno)
        return;
    EndDialog(session_.installed ? ui::idok : ui::idcancel);
}

void CInstallDlg::ApplyLanguage() {
    SetWindowText(application_title(title_form::with_product));
    if (fw::CMenu* menu = GetSystemMenu(false))
        menu->ModifyMenu(about_command, fw::MF_BYCOMMAND | fw::MF_STRING, about_command,
                         about_entry_text());
    SetButtonTexts();
    for (wizard_page* page : m_pages)
        page->ApplyLanguage();
}

void CInstallDlg::OnSysCommand(std::uint32_t command) {
    if ((command & 0xFFF0) == about_command) {
        CAboutDlg about;
        about.DoModal();
        return;
    }
    CDialog::OnSysCommand(command);
}

void CInstallDlg::OnInitMenuPopup(fw::CMenu* popup, unsigned index, bool system_menu) {
    CDialog::OnInitMenuPopup(popup, index, system_menu);
    if (!system_menu)
        return;
    const bool minimized = IsIconic();
    popup->EnableMenuItem(ui::sc::minimize, minimized ? fw::MF_GRAYED : fw::MF_ENABLED);
    popup->EnableMenuItem(ui::sc::restore, minimized ? fw::MF_ENABLED : fw::MF_GRAYED);
}

void CInstallDlg::OnGetMinMaxInfo(fw::MINMAXINFO* info) {
    CDialog::OnGetMinMaxInfo(info);
    // Maximizing never changes the window: its maximized size is its normal size.
    fw::rect normal;
    GetWindowRect(&normal);
    info->max_size = {normal.width(), normal.height()};
    info->max_position = {normal.left, normal.top};
}

const fw::message_map* CInstallDlg::GetMessageMap() const {
    static const fw::message_map_entry entries[] = {
        fw::on_command(IDC_BACK, ui::notify::bn_clicked, &CInstallDlg::OnBack),
        fw::on_sys_command(&CInstallDlg::OnSysCommand),
        fw::on_init_menu_popup(&CInstallDlg::OnInitMenuPopup),
        fw::on_get_min_max_info(&CInstallDlg::OnGetMinMaxInfo),
    };
    static const fw::message_map map{&CDialog::own_messages(), entries};
    return &map;
}

} // namespace qv
