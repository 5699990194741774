#pragma once
// The install page: the summary of the chosen options before the installation, then the
// installation itself, reported step by step in its log box, progress bar and status line.

#include "app/install_session.h"
#include "app/wizard_page.h"
#include "payload/notification.h"

#include <istream>
#include <string>
#include <string_view>

namespace qv {

// How AppendLog places a text.
enum class log_line {
    // Added as it is: a step's text, completed later by its outcome.
    text,
    // Centred in a full-width line of dashes.
    heading,
};

class CDlgInstall : public wizard_page {
public:
    explicit CDlgInstall(install_session& session);
    ~CDlgInstall() override;

    bool OnInitDialog() override;
    // The status line's invitation to start, in the current language.
    void ApplyLanguage() override;
    // The page grew by dw × dh pixels: the log box takes it all, the bar and the status line
    // widen and move down.
    void Stretch(int dw, int dh) override;
    // An empty text makes a line of dashes, as a heading does.
    void AppendLog(std::wstring_view text, log_line line = log_line::text);
    // The whole installation. True once the product files are in place, even when a later step
    // failed; false when the temporary folder has no name or the extraction failed (and was
    // rolled back).
    bool DoInstall();
    // The extraction's callback, for the payload stream being extracted.
    notification::result HandleNotification(std::istream& payload, const notification& message);

    platform::framework::CWnd m_log;
    platform::framework::CWnd m_progress;
    // Where the main program and the uninstaller were written in this run.
    std::wstring m_programPath;
    std::wstring m_uninstallerPath;

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;

private:
    void ShowSummary();
    void SetStatus(const std::wstring& text);
    void SetStatusPath(const std::wstring& text);
    void AppendOutcome(bool ok);
    notification::result OnStarted(std::istream& payload);
    notification::result OnFileBegin(const payload_entry& entry);
    notification::result OnFileEnd(const payload_entry& entry);
    notification::result OnFailed(const notification::failed& failure);
    bool CreateShortcuts();
    bool CreateShortcut(shortcut_kind which, const std::wstring& folder, const std::wstring& target,
                        const std::wstring& name);
    bool WriteRegistry();
    bool WriteUninstallLog();

    install_session& session_;
};

} // namespace qv
