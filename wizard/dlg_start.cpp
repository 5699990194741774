#include "wizard/dlg_start.h"

#include "app/language_locale.h"
#include "app/language_state.h"
#include "app/language_table.h"
#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/product_identity.h"
#include "app/startup.h"
#include "platform/framework/data_exchange.h"
#include "platform/framework/message_box.h"
#include "platform/framework/win_app.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/styles.h"
#include "resources/dialog_ids.h"
#include "wizard/own_version.h"
#include "wizard/page_layout.h"
#include "wizard/page_texts.h"
#include "wizard/wizard_frame.h"

#include <algorithm>

namespace qv {

namespace fw = platform::framework;
namespace ui = platform::ui;

namespace {

constexpr std::uint32_t cancel_word = 2;
constexpr std::uint32_t next_word = 6;
constexpr std::uint32_t installation_of = 100;
constexpr std::uint32_t update_from_to = 101;
constexpr std::uint32_t already_installed = 102;
constexpr std::uint32_t more_recent_installed = 103;
constexpr std::uint32_t confirm_reinstallation = 104;
constexpr std::uint32_t continue_or_exit = 105;
constexpr std::uint32_t click_to_continue = 106;
constexpr std::uint32_t click_to_exit = 107;
constexpr std::uint32_t installer_not_translated = 129;
constexpr std::uint32_t select_language = 14;

// The product languages, in the order the list shows them.
constexpr language_index offered_languages[] = {
    languages::french,   languages::english,    languages::german, languages::spanish,
    languages::italian,  languages::portuguese, languages::polish, languages::turkish,
    languages::romanian, languages::hungarian,
};

// The image list of the flags: 18 x 12, 24-bit colour, capacity 8, growing by 1.
constexpr int flag_width = 18;
constexpr int flag_height = 12;
constexpr std::uint32_t ilc_color24 = 0x18;
// The list's arrow and margins beyond the longest name.
constexpr int dropped_width_margin = 30;

std::wstring text(std::uint32_t n) {
    return localized_text(n);
}

struct start_texts {
    std::wstring information;
    std::wstring status;
};

start_texts texts_for(const install_session& session) {
    const std::wstring product = product_name(product_name_form::with_version);
    std::wstring installed;
    switch (get_install_state(session, &installed)) {
    case install_state::same_version_installed:
        return {format_message(text(already_installed), {product}) + L"\r\n" +
                    text(confirm_reinstallation),
                format_message(text(continue_or_exit), {text(next_word), text(cancel_word)})};
    case install_state::older_installed:
        return {format_message(text(update_from_to), {installed, product}),
                format_message(text(click_to_continue), {text(next_word)})};
    case install_state::newer_installed:
        return {format_message(text(installation_of), {product}) + L"\r\n" +
                    format_message(text(more_recent_installed), {installed}),
                format_message(text(click_to_exit), {text(cancel_word)})};
    case install_state::not_installed:
        break;
    }
    return {format_message(text(installation_of), {product}),
            format_message(text(click_to_continue), {text(next_word)})};
}

} // namespace

CDlgStart::CDlgStart(const install_session& session)
    : wizard_page(IDD_START_PAGE), session_(session) {}

void CDlgStart::DoDataExchange(fw::CDataExchange* exchange) {
    fw::DDX_Control(exchange, IDC_LANGUAGE_LIST, m_languages);
}

bool CDlgStart::OnInitDialog() {
    CDialog::OnInitDialog();
    m_flags.Create(flag_width, flag_height, ilc_color24, 8, 1);
    m_languages.SetImageList(&m_flags);
    int selection = -1;
    int position = 0;
    for (language_index language : offered_languages) {
        const int image = m_flags.Add(language_flag_icon(language));
        const int inserted = m_languages.InsertItem(
            position++, {language_display_name(language), image, image, language});
        if (language == language_state::instance().language)
            selection = inserted;
    }
    int widest = 0;
    if (fw::CWinApp* app = fw::AfxGetApp()) {
        for (int i = 0; i < m_languages.GetCount(); ++i) {
            const std::wstring name = m_languages.GetItemText(i).value_or(L"").substr(0, 256);
            widest = std::max(widest, app->session().metrics().text_width(name));
        }
    }
    m_languages.SetDroppedWidth(widest + dropped_width_margin);
    m_languages.SetCurSel(selection);
    return true;
}

void CDlgStart::ApplyLanguage() {
    set_control_text(*this, IDC_LANGUAGE_LABEL, text(select_language));
    // The notice is the installer's own, from its version resource, in every language.
    if (const auto version = own_version_info(); version && !version->legal_copyright().empty())
        set_control_text(*this, IDC_COPYRIGHT, version->legal_copyright());
    const start_texts shown = texts_for(session_);
    set_control_text(*this, IDC_INFO, shown.information);
    set_control_text(*this, IDC_STATUS, shown.status);
}

void CDlgStart::Stretch(int dw, int dh) {
    grow_control(*this, IDC_LANGUAGE_LIST, {.widen = dw});
    grow_control(*this, IDC_COPYRIGHT, {.widen = dw});
    grow_control(*this, IDC_INFO, {.widen = dw, .heighten = dh});
    grow_control(*this, IDC_STATUS, {.move_down = dh, .widen = dw});
}

void CDlgStart::OnLanguageChange() {
    const int selected = m_languages.GetCurSel();
    if (selected < 0)
        return;
    const auto data = m_languages.GetItemData(selected);
    if (!data)
        return;
    const auto chosen = static_cast<language_index>(*data);
    set_language(chosen);
    if (!is_installer_language(chosen)) {
        fw::AfxMessageBox(format_message(text(installer_not_translated),
                                         {product_name(product_name_form::plain)}),
                          ui::mb::ok | ui::mb::icon_asterisk);
        set_language(languages::english);
    }
    if (fw::CWinApp* app = fw::AfxGetApp())
        app->m_pszAppName = application_title(title_form::with_product);
    if (auto* frame = dynamic_cast<wizard_frame*>(GetParent()))
        frame->ApplyLanguage();
}

const fw::message_map* CDlgStart::GetMessageMap() const {
    static const fw::message_map_entry entries[] = {
        fw::on_command(IDC_LANGUAGE_LIST, ui::notify::cbn_selchange, &CDlgStart::OnLanguageChange),
    };
    static const fw::message_map map{&CDialog::own_messages(), entries};
    return &map;
}

} // namespace qv
