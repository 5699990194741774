#include "wizard/framework_providers.h"

#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
#include "platform/ui/dialog.h"
#include "wizard/default_caption.h"
#include "wizard/message_box_providers.h"

namespace qv {

namespace fw = platform::framework;
namespace ui = platform::ui;

namespace {

std::wstring framework_caption() {
    const fw::CWinApp* app = fw::AfxGetApp();
    return default_caption(app ? app->m_pszAppName : std::wstring());
}

// CWnd::GetSafeOwner without a parent.
message_box_owner framework_owner() {
    fw::CWinApp* app = fw::AfxGetApp();
    if (!app || !app->m_pMainWnd || !app->m_pMainWnd->GetSafeHwnd())
        return {};
    ui::window& top = app->m_pMainWnd->GetSafeHwnd()->root();
    // The running modal dialogs all belong to the main window: the innermost is its last
    // active popup.
    ui::window* owner = &top;
    if (ui::window* modal = app->session().active_modal())
        owner = modal;
    message_box_owner result{handle_of(*owner), std::nullopt};
    if (owner != &top && top.is_enabled()) {
        top.disable();
        result.disabled_top_level = handle_of(top);
    }
    return result;
}

} // namespace

void install_framework_providers() {
    set_caption_provider(framework_caption);
    set_icon_provider([] { return std::optional<icon_handle>(); });
    set_owner_provider(framework_owner);
}

} // namespace qv
