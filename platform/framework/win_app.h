#pragma once
// CWinApp: the application object. The program makes one, over the UI session it runs in, and
// hands it to AfxWinMain; the object is the process's current application while it exists.

#include "platform/ui/desktop.h"

#include <string>

namespace platform::framework {

class CWnd;

class CWinApp {
public:
    CWinApp(platform::ui::desktop& session, std::wstring app_name);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // The application's start: false when the program has nothing more to run (a dialog
    // program does its whole work here and returns false).
    virtual bool InitInstance();
    // The application's end; its result is the process's exit code.
    virtual int ExitInstance();
    // After a successful InitInstance: runs until the application ends, then ExitInstance.
    // Every window of the model runs its own modal loop, so nothing is left to run here.
    virtual int Run();

    platform::ui::desktop& session() const { return session_; }

    // The name message boxes are captioned with; the application may replace it.
    std::wstring m_pszAppName;
    // The window message boxes are owned by when no dialog is running.
    CWnd* m_pMainWnd = nullptr;

private:
    platform::ui::desktop& session_;
    CWinApp* previous_;
};

// The current application; none when there is none.
CWinApp* AfxGetApp();

// The program's main: InitInstance, then ExitInstance when it returned false or Run when it
// returned true. The exit code for the caller's main.
int AfxWinMain(CWinApp& app);

} // namespace platform::framework
