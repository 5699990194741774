#include "engine/dlg_install.h"

#include "app/localized_strings.h"
#include "app/product_identity.h"
#include "engine/compact_path.h"
#include "engine/install_report.h"
#include "engine/message_text.h"
#include "platform/framework/data_exchange.h"
#include "platform/os/shell_path.h"
#include "platform/ui/desktop.h"
#include "platform/ui/edit.h"
#include "resources/dialog_ids.h"

namespace qv {
namespace fw = platform::framework;
namespace ui = platform::ui;
namespace {

constexpr std::uint32_t msg_installation_of = 100;
constexpr std::uint32_t msg_click_to_start = 108;
constexpr std::uint32_t msg_install = 7;
constexpr std::uint32_t msg_options = 122;
constexpr std::uint32_t msg_install_folder = 123;
constexpr std::uint32_t msg_start_menu_shortcut = 124;
constexpr std::uint32_t msg_desktop_shortcut = 125;
constexpr std::uint32_t msg_ok = 11;
constexpr std::uint32_t msg_failed = 12;

// EM_SETSEL's start beyond any text: the selection goes to the end.
constexpr int end_of_text = 0x7FFFFFFF;

const ui::text_metrics& page_metrics() {
    static const ui::fixed_text_metrics without_display;
    const auto* session = ui::current_desktop();
    return session ? session->metrics() : without_display;
}

std::wstring quoted(std::wstring path) {
    platform::os::path_quote_spaces(path);
    return path;
}

// The control's rectangle in the page's client coordinates.
ui::rect placement(const fw::CWnd& control, const fw::CWnd& page) {
    ui::rect area;
    control.GetWindowRect(&area);
    page.ScreenToClient(&area);
    return area;
}

} // namespace

CDlgInstall::CDlgInstall(install_session& session)
    : wizard_page(IDD_INSTALL_PAGE), session_(session) {}

CDlgInstall::~CDlgInstall() = default;

bool CDlgInstall::OnInitDialog() {
    CDialog::OnInitDialog();
    m_progress.SetRange32(0, 100);
    m_progress.ShowWindow(fw::SW_HIDE);
    return true;
}

void CDlgInstall::DoDataExchange(fw::CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    fw::DDX_Control(exchange, IDC_LOG, m_log);
    fw::DDX_Control(exchange, IDC_PROGRESS, m_progress);
    if (!exchange->m_bSaveAndValidate && !session_.installed)
        ShowSummary();
}

void CDlgInstall::ApplyLanguage() {
    SetStatus(localized_text(msg_click_to_start, localized_text(msg_install)));
}

void CDlgInstall::Stretch(int dw, int dh) {
    constexpr std::uint32_t flags = fw::SWP_NOZORDER | fw::SWP_NOREDRAW;
    const ui::rect log = placement(m_log, *this);
    m_log.SetWindowPos(nullptr, 0, 0, log.width() + dw, log.height() + dh, flags | fw::SWP_NOMOVE);
    for (fw::CWnd* control : {static_cast<fw::CWnd*>(&m_progress), GetDlgItem(IDC_STATUS)}) {
        if (!control)
            continue;
        const ui::rect area = placement(*control, *this);
        control->SetWindowPos(nullptr, area.left, area.top + dh, area.width() + dw, area.height(),
                              flags);
    }
}

void CDlgInstall::AppendLog(std::wstring_view text, log_line line) {
    std::wstring added(text);
    if (text.empty() || line == log_line::heading) {
        ui::rect client;
        m_log.GetClientRect(&client);
        const auto margins = m_log.GetMargins();
        added = full_width_line(text, client.width() - margins.left - margins.right - 2,
                                page_metrics());
    }
    m_log.SetSel(end_of_text, -1);
    m_log.ReplaceSel(added);
    m_log.LineScroll(1);
}

void CDlgInstall::ShowSummary() {
    m_log.SetWindowText(L"");
    AppendLog(localized_text(msg_installation_of, product_name(product_name_form::with_version)) +
              L"\r\n");
    AppendLog(localized_text(msg_options), log_line::heading);
    AppendLog(localized_text(msg_install_folder, quoted(session_.install_folder)) + L"\r\n");
    if (session_.start_menu_shortcut)
        AppendLog(localized_text(msg_start_menu_shortcut, quoted(session_.shortcut_folder)) +
                  L"\r\n");
    if (session_.desktop_shortcut)
        AppendLog(localized_text(msg_desktop_shortcut) + L"\r\n");
    const auto* box = dynamic_cast<const ui::edit*>(m_log.GetSafeHwnd());
    while (box && box->first_visible_line() > 0)
        m_log.LineScroll(-1);
}

void CDlgInstall::SetStatus(const std::wstring& text) {
    if (fw::CWnd* status = GetDlgItem(IDC_STATUS))
        status->SetWindowText(text);
}

void CDlgInstall::SetStatusPath(const std::wstring& text) {
    fw::CWnd* status = GetDlgItem(IDC_STATUS);
    if (!status)
        return;
    ui::rect client;
    status->GetClientRect(&client);
    status->SetWindowText(compact_path(text, client.width(), page_metrics()));
}

void CDlgInstall::AppendOutcome(bool ok) {
    AppendLog(localized_text(ok ? msg_ok : msg_failed) + L"\r\n");
}

} // namespace qv
