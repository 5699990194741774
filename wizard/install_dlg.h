#pragma once
// The wizard's frame: the banner, the page area with six pages shown one at a time, and the
// Back, Next and Exit buttons; the order of the pages, the buttons' texts and states, leaving
// with or without confirmation, and the about box from the system menu.

#include "app/install_session.h"
#include "engine/dlg_install.h"
#include "platform/framework/dialog.h"
#include "wizard/dlg_end.h"
#include "wizard/dlg_mode.h"
#include "wizard/dlg_path.h"
#include "wizard/dlg_shortcut.h"
#include "wizard/dlg_start.h"
#include "wizard/wizard_frame.h"

#include <array>
#include <cstdint>

namespace qv {

class CInstallDlg : public platform::framework::CDialog, public wizard_frame {
public:
    static constexpr int page_count = 6;
    static constexpr int install_page = 4;
    static constexpr int end_page = 5;
    static constexpr std::uint32_t about_command = 0x10;

    explicit CInstallDlg(install_session& session);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnBack();
    void ShowPage(int target);
    void SetButtonTexts();
    void ApplyLanguage() override;

    void OnSysCommand(std::uint32_t command) override;
    void OnInitMenuPopup(platform::framework::CMenu* popup, unsigned index,
                         bool system_menu) override;
    void OnGetMinMaxInfo(platform::framework::MINMAXINFO* info) override;

    int current_page() const { return m_current; }

protected:
    const platform::framework::message_map* GetMessageMap() const override;

private:
    void Layout();
    void EnableButton(int id, bool enable);

    install_session& session_;
    CDlgStart m_start;
    CDlgMode m_mode;
    CDlgPath m_path;
    CDlgShortcut m_shortcut;
    CDlgInstall m_install;
    CDlgEnd m_end;
    std::array<wizard_page*, page_count> m_pages;
    int m_current = -1;
};

} // namespace qv
