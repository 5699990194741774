#include "wizard/dlg_shortcut.h"

#include "app/localized_strings.h"
#include "app/product_identity.h"
#include "platform/framework/data_exchange.h"
#include "platform/os/full_path.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_path.h"
#include "platform/ui/button.h"
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
constexpr std::uint32_t start_menu_group = 9;
constexpr std::uint32_t menu_shortcut = 112;
constexpr std::uint32_t desktop_shortcut = 113;
constexpr int folder_limit = static_cast<int>(os::max_path);
constexpr std::uint32_t directory_attribute = 0x10;

// The shortcut folder as the page shows it: relative to the Start-menu root, "" for the root
// itself, and the folder whole when it has no relative form (another drive).
std::wstring relative_menu_folder(const std::wstring& root, const std::wstring& folder) {
    const auto relative =
        os::path_relative_path_to(root, directory_attribute, folder, directory_attribute);
    if (!relative)
        return folder;
    if (*relative == L".")
        return {};
    return os::path_canonicalize(*relative).value_or(*relative);
}

} // namespace

CDlgShortcut::CDlgShortcut(install_session& session)
    : wizard_page(IDD_SHORTCUT_PAGE), session_(session) {}

bool CDlgShortcut::OnInitDialog() {
    if (!os::get_special_folder_path(os::csidl::common_start_menu, m_startMenuRoot))
        os::get_special_folder_path(os::csidl::start_menu, m_startMenuRoot);
    CDialog::OnInitDialog();
    OnMenuShortcut();
    return true;
}

void CDlgShortcut::DoDataExchange(fw::CDataExchange* exchange) {
    if (!exchange->m_bSaveAndValidate) {
        m_desktop = session_.desktop_shortcut ? 1 : 0;
        m_menu = session_.start_menu_shortcut ? 1 : 0;
        m_menuFolder = relative_menu_folder(m_startMenuRoot, session_.shortcut_folder);
    }
    fw::DDX_Check(exchange, IDC_DESKTOP_SHORTCUT, m_desktop);
    fw::DDX_Check(exchange, IDC_MENU_SHORTCUT, m_menu);
    fw::DDX_Text(exchange, IDC_FOLDER, m_menuFolder);
    fw::DDV_MaxChars(exchange, m_menuFolder, folder_limit);
    if (exchange->m_bSaveAndValidate) {
        session_.desktop_shortcut = m_desktop != 0;
        session_.start_menu_shortcut = m_menu != 0;
        // Saved even when no menu shortcut is wanted, so that the choice comes back.
        if (auto combined = os::path_combine(m_startMenuRoot, m_menuFolder))
            session_.shortcut_folder = *combined;
    }
}

void CDlgShortcut::OnMenuShortcut() {
    const bool wanted = IsDlgButtonChecked(IDC_MENU_SHORTCUT) == 1;
    for (int id : {IDC_FOLDER, IDC_BROWSE}) {
        if (auto* control = GetDlgItem(id))
            control->EnableWindow(wanted);
    }
}

void CDlgShortcut::ApplyLanguage() {
    set_control_text(*this, IDC_MENU_GROUP, localized_text(start_menu_group));
    set_control_text(*this, IDC_MENU_SHORTCUT, localized_text(menu_shortcut));
    set_control_text(*this, IDC_BROWSE, localized_text(browse_caption));
    set_control_text(*this, IDC_DESKTOP_SHORTCUT, localized_text(desktop_shortcut));
    set_control_text(*this, IDC_STATUS, click_next_to_continue());
}

void CDlgShortcut::Stretch(int dw, int dh) {
    for (int id : {IDC_MENU_GROUP, IDC_MENU_SHORTCUT, IDC_FOLDER, IDC_DESKTOP_SHORTCUT})
        grow_control(*this, id, {.widen = dw});
    grow_control(*this, IDC_BROWSE, {.move_right = dw});
    grow_control(*this, IDC_STATUS, {.move_down = dh, .widen = dw});
}

void CDlgShortcut::OnBrowse() {
    UpdateData(true);
    std::wstring relative;
    const std::wstring chosen =
        browse_start_menu_folder(session_.shortcut_folder, product_key_name(product_code),
                                 localized_text(menu_shortcut), relative);
    if (chosen.empty())
        return;
    m_menuFolder = relative;
    session_.shortcut_folder = chosen;
    UpdateData(false);
}

const fw::message_map* CDlgShortcut::GetMessageMap() const {
    static const fw::message_map_entry entries[] = {
        fw::on_command(IDC_BROWSE, platform::ui::notify::bn_clicked, &CDlgShortcut::OnBrowse),
        fw::on_command(IDC_MENU_SHORTCUT, platform::ui::notify::bn_clicked,
                       &CDlgShortcut::OnMenuShortcut),
    };
    static const fw::message_map map{&CDialog::own_messages(), entries};
    return &map;
}

} // namespace qv
