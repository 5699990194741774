#include "app/install_app.h"

#include "app/instance_counter.h"
#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/product_identity.h"
#include "app/startup.h"
#include "platform/framework/message_box.h"
#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/ui/message_box_type.h"
#include "wizard/install_dlg.h"
#include "wizard/message_box_providers.h"
#include "wizard/show_message.h"

#include <atomic>

namespace qv {
namespace fw = platform::framework;
namespace os = platform::os;
namespace ui = platform::ui;
namespace {

constexpr std::uint32_t msg_administrator_rights = 126;
constexpr std::uint32_t msg_close_product = 127;
constexpr std::uint16_t application_icon = 128;
constexpr std::uint32_t error_busy = 170;
constexpr std::uint32_t e_unexpected = 0x8000FFFF;

// Set once while the program starts, before the application object exists.
std::atomic<bool> processor_check_passed{false};

} // namespace

void set_processor_checked() {
    processor_check_passed = true;
}

bool processor_checked() {
    return processor_check_passed;
}

CInstallApp::CInstallApp(platform::ui::desktop& session) : CWinApp(session, std::wstring()) {
    session_.instance_mutex.create(instance_mutex_name(application_id()));
    set_icon_provider([] { return std::optional<icon_handle>(icon_handle{application_icon}); });
}

bool CInstallApp::InitInstance() {
    if (!processor_checked()) {
        report_error(e_unexpected);
        return false;
    }
    if (!session_.instance_mutex.acquire()) {
        report_error(error_busy);
        return false;
    }
    CWinApp::InitInstance();
    choose_start_language();
    m_pszAppName = application_title(title_form::with_product);
    if (!os::is_administrator()) {
        fw::AfxMessageBox(localized_text(msg_administrator_rights), ui::mb::icon_exclamation);
        return false;
    }
    if (!WaitWhileProductRuns())
        return false;
    decide_install_state(session_);
    read_earlier_folders(session_);
    fill_default_folders(session_);
    session_.start_menu_shortcut = true;
    session_.desktop_shortcut = true;
    session_.advanced_method = false;

    CInstallDlg wizard(session_);
    m_pMainWnd = &wizard;
    wizard.DoModal();
    m_pMainWnd = nullptr;
    return false;
}

bool CInstallApp::WaitWhileProductRuns() {
    const std::wstring id = application_id();
    while (running_instance_count(id) > 1) {
        const std::wstring text = format_message(localized_text(msg_close_product),
                                                 {product_name(product_name_form::plain)});
        if (fw::AfxMessageBox(text, ui::mb::retry_cancel | ui::mb::icon_exclamation) ==
            ui::idcancel)
            return false;
    }
    return true;
}

} // namespace qv
