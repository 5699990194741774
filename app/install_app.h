#pragma once
// The installer's application object: it owns the session for the whole run, runs the start-up
// checks in their order, decides what is installed and shows the wizard; the program ends when
// the wizard closes.

#include "app/install_session.h"
#include "platform/framework/win_app.h"

namespace qv {

class CInstallApp : public platform::framework::CWinApp {
public:
    // The single-installer mutex (not owned yet) and the application's icon for message boxes
    // and the wizard's window.
    explicit CInstallApp(platform::ui::desktop& session);

    // The start-up, then the wizard; false on every path, so that the program ends.
    bool InitInstance() override;

    install_session& session() { return session_; }
    const install_session& session() const { return session_; }

private:
    // Messages 127 with Retry and Cancel while another program of the application id runs;
    // false when the user cancels.
    bool WaitWhileProductRuns();

    install_session session_;
};

// The processor check of the program's start passed; InitInstance refuses to go on otherwise.
void set_processor_checked();
bool processor_checked();

} // namespace qv
