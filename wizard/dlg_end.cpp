#include "wizard/dlg_end.h"

#include "app/localized_strings.h"
#include "app/message_format.h"
#include "platform/framework/data_exchange.h"
#include "resources/dialog_ids.h"
#include "wizard/page_layout.h"

namespace qv {

namespace fw = platform::framework;

namespace {
constexpr std::uint32_t exit_caption = 4;
constexpr std::uint32_t click_to_exit = 107;
constexpr std::uint32_t installation_complete = 120;
} // namespace

CDlgEnd::CDlgEnd(const install_session& session) : wizard_page(IDD_END_PAGE), session_(session) {}

void CDlgEnd::DoDataExchange(fw::CDataExchange* exchange) {
    // Only shown after a successful installation; saving never fails.
    if (!exchange->m_bSaveAndValidate && session_.installed) {
        if (fw::CWnd* info = GetDlgItem(IDC_INFO))
            info->SetWindowText(localized_text(installation_complete));
    }
}

void CDlgEnd::ApplyLanguage() {
    if (fw::CWnd* info = GetDlgItem(IDC_INFO))
        info->SetWindowText(L"");
    if (fw::CWnd* status = GetDlgItem(IDC_STATUS))
        status->SetWindowText(
            format_message(localized_text(click_to_exit), {localized_text(exit_caption)}));
}

void CDlgEnd::Stretch(int dw, int dh) {
    grow_control(*this, IDC_INFO, {.widen = dw, .heighten = dh});
    grow_control(*this, IDC_STATUS, {.move_down = dh, .widen = dw});
}

} // namespace qv
