#include "wizard/dlg_mode.h"

#include "app/localized_strings.h"
#include "platform/framework/data_exchange.h"
#include "resources/dialog_ids.h"
#include "wizard/page_layout.h"
#include "wizard/page_texts.h"

namespace qv {

namespace fw = platform::framework;

namespace {
constexpr std::uint32_t method_group = 15;
constexpr std::uint32_t quick_method = 16;
constexpr std::uint32_t advanced_method = 17;
} // namespace

CDlgMode::CDlgMode(install_session& session) : wizard_page(IDD_METHOD_PAGE), session_(session) {}

void CDlgMode::DoDataExchange(fw::CDataExchange* exchange) {
    if (!exchange->m_bSaveAndValidate)
        m_method = session_.advanced_method ? 1 : 0;
    fw::DDX_Radio(exchange, IDC_QUICK_METHOD, m_method);
    if (exchange->m_bSaveAndValidate)
        session_.advanced_method = m_method == 1;
}

void CDlgMode::ApplyLanguage() {
    set_control_text(*this, IDC_METHOD_GROUP, localized_text(method_group));
    set_control_text(*this, IDC_QUICK_METHOD, localized_text(quick_method));
    set_control_text(*this, IDC_ADVANCED_METHOD, localized_text(advanced_method));
    set_control_text(*this, IDC_STATUS, click_next_to_continue());
}

void CDlgMode::Stretch(int dw, int dh) {
    for (int id : {IDC_METHOD_GROUP, IDC_QUICK_METHOD, IDC_ADVANCED_METHOD})
        grow_control(*this, id, {.widen = dw});
    grow_control(*this, IDC_STATUS, {.move_down = dh, .widen = dw});
}

} // namespace qv
