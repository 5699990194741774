#pragma once
// The method page: the quick installation into the prepared folders, or the advanced one that
// shows the folder and shortcut pages.

#include "app/install_session.h"
#include "app/wizard_page.h"

namespace qv {

class CDlgMode : public wizard_page {
public:
    explicit CDlgMode(install_session& session);

    void ApplyLanguage() override;
    void Stretch(int dw, int dh) override;

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;

private:
    install_session& session_;
    // 0 quick, 1 advanced, -1 until first loaded.
    int m_method = -1;
};

} // namespace qv
