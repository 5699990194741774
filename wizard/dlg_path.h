#pragma once
// The folder page: the installation folder, typed or chosen with the folder browser; read-only
// when a version of the product is already installed.

#include "app/install_session.h"
#include "app/wizard_page.h"

#include <string>

namespace qv {

class CDlgPath : public wizard_page {
public:
    explicit CDlgPath(install_session& session);

    bool OnInitDialog() override;
    void ApplyLanguage() override;
    void Stretch(int dw, int dh) override;
    void OnBrowse();

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;
    const platform::framework::message_map* GetMessageMap() const override;

private:
    install_session& session_;
    std::wstring m_folder;
};

} // namespace qv
