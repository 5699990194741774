#include "platform/framework/message_box.h"

#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
#include "platform/os/resources.h"
#include "platform/ui/dialog.h"
#include "platform/ui/disabled_window.h"
#include "platform/ui/message_box.h"

namespace platform::framework {

namespace ui = platform::ui;

int AfxMessageBox(std::wstring_view text, std::uint32_t type) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return 0;
    ui::desktop& session = app->session();
    ui::window* main = app->m_pMainWnd ? app->m_pMainWnd->GetSafeHwnd() : nullptr;
    ui::window* owner = session.active_modal();
    if (!owner)
        owner = main;
    // The box disables its owner; the main window stays disabled as well when the owner is
    // another window.
    ui::disabled_window main_disabled(main && &main->root() != owner ? &main->root() : nullptr);
    const ui::message_box box(std::wstring(text), app->m_pszAppName, ui::with_default_icon(type),
                              owner);
    return ui::show_message_box(session, box);
}

int AfxMessageBox(std::uint32_t prompt_id, std::uint32_t type) {
    return AfxMessageBox(platform::os::load_string(platform::os::own_module(), prompt_id), type);
}

} // namespace platform::framework
