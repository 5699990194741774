#pragma once
// The shortcut page: a shortcut in a Start-menu folder (chosen with the folder browser) and one
// on the desktop, each on or off.

#include "app/install_session.h"
#include "app/wizard_page.h"

#include <string>

namespace qv {

class CDlgShortcut : public wizard_page {
public:
    explicit CDlgShortcut(install_session& session);

    bool OnInitDialog() override;
    void ApplyLanguage() override;
    void Stretch(int dw, int dh) override;
    void OnBrowse();
    void OnMenuShortcut();

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;
    const platform::framework::message_map* GetMessageMap() const override;

private:
    install_session& session_;
    int m_desktop = 0;
    int m_menu = 0;
    // The shortcut folder relative to the Start-menu root.
    std::wstring m_menuFolder;
    std::wstring m_startMenuRoot;
};

} // namespace qv
