#include "platform/framework/win_app.h"

namespace platform::framework {

namespace {

// The class library keeps the application object process-wide; the innermost one is current.
CWinApp* current_app = nullptr;

} // namespace

CWinApp::CWinApp(platform::ui::desktop& session, std::wstring app_name)
    : m_pszAppName(std::move(app_name)), session_(session), previous_(current_app) {
    current_app = this;
}

CWinApp::~CWinApp() {
    current_app = previous_;
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::ExitInstance() {
    return 0;
}

int CWinApp::Run() {
    return ExitInstance();
}

CWinApp* AfxGetApp() {
    return current_app;
}

int AfxWinMain(CWinApp& app) {
    if (!app.InitInstance())
        return app.ExitInstance();
    return app.Run();
}

} // namespace platform::framework
