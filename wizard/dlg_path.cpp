#include "wizard/dlg_path.h"

#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/product_identity.h"
#include "platform/framework/data_exchange.h"
#include "platform/os/full_path.h"
#include "platform/ui/styles.h"
#include "resources/dialog_ids.h"
#include "wizard/browse_for_folder.h"
#include "wizard/page_layout.h"
#include "wizard/page_texts.h"

namespace qv {

namespace fw = platform::framework;
namespace os = platform::os;

namespace {

constexpr std::uint32_t browse_caption = 8;
constexpr std::uint32_t folder_group = 10;
constexpr std::uint32_t select_folder = 111;
constexpr int folder_limit = static_cast<int>(os::max_path);

std::wstring select_folder_text() {
    return format_message(localized_text(select_folder), {product_name(product_name_form::plain)});
}

} // namespace

CDlgPath::CDlgPath(install_session& session) : wizard_page(IDD_FOLDER_PAGE), session_(session) {}

bool CDlgPath::OnInitDialog() {
    CDialog::OnInitDialog();
    // An update or a reinstallation goes where the earlier installation is.
    if (session_.install_state != install_state::not_installed) {
        if (auto* label = GetDlgItem(IDC_FOLDER_LABEL))
            label->EnableWindow(false);
        if (auto* browse = GetDlgItem(IDC_BROWSE))
            browse->EnableWindow(false);
        if (auto* folder = GetDlgItem(IDC_FOLDER))
            folder->SetReadOnly(true);
    }
    return true;
}

void CDlgPath::DoDataExchange(fw::CDataExchange* exchange) {
    if (!exchange->m_bSaveAndValidate)
        m_folder = session_.install_folder;
    fw::DDX_Text(exchange, IDC_FOLDER, m_folder);
    fw::DDV_MaxChars(exchange, m_folder, folder_limit);
    if (exchange->m_bSaveAndValidate)
        session_.install_folder = m_folder;
}

void CDlgPath::ApplyLanguage() {
    set_control_text(*this, IDC_FOLDER_GROUP, localized_text(folder_group));
    set_control_text(*this, IDC_FOLDER_LABEL, select_folder_text());
    set_control_text(*this, IDC_BROWSE, localized_text(browse_caption));
    set_control_text(*this, IDC_STATUS, click_next_to_continue());
}

void CDlgPath::Stretch(int dw, int dh) {
    for (int id : {IDC_FOLDER_GROUP, IDC_FOLDER_LABEL, IDC_FOLDER})
        grow_control(*this, id, {.widen = dw});
    grow_control(*this, IDC_BROWSE, {.move_right = dw});
    grow_control(*this, IDC_STATUS, {.move_down = dh, .widen = dw});
}

void CDlgPath::OnBrowse() {
    UpdateData(true);
    const std::wstring chosen = browse_folder(session_.install_folder,
                                              product_key_name(product_code), select_folder_text());
    if (chosen.empty())
        return;
    session_.install_folder = chosen;
    UpdateData(false);
}

const fw::message_map* CDlgPath::GetMessageMap() const {
    static const fw::message_map_entry entries[] = {
        fw::on_command(IDC_BROWSE, platform::ui::notify::bn_clicked, &CDlgPath::OnBrowse),
    };
    static const fw::message_map map{&CDialog::own_messages(), entries};
    return &map;
}

} // namespace qv
