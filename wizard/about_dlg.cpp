#include "wizard/about_dlg.h"

#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/startup.h"
#include "resources/dialog_ids.h"
#include "wizard/own_version.h"

namespace qv {

namespace fw = platform::framework;

namespace {

constexpr std::uint32_t ok_caption = 1;
constexpr std::uint32_t about_format = 3;

void set_text_unless_empty(fw::CWnd* control, const std::wstring& text) {
    if (control && !text.empty())
        control->SetWindowText(text);
}

} // namespace

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT) {}

bool CAboutDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    std::wstring format = localized_text(about_format);
    if (format.empty())
        format = GetWindowText();
    SetWindowText(format_message(format, {application_title(title_form::plain)}));
    if (const auto version = own_version_info()) {
        set_text_unless_empty(GetDlgItem(IDC_VERSION_LINE), version->display_version_text());
        // The copyright line comes from the same version resource as the name and version.
        set_text_unless_empty(GetDlgItem(IDC_COPYRIGHT), version->legal_copyright());
    }
    set_text_unless_empty(GetDlgItem(IDC_NEXT), localized_text(ok_caption));
    return true;
}

} // namespace qv
