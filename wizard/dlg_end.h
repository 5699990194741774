#pragma once
// The end page: says that the installation is complete and how to leave.

#include "app/install_session.h"
#include "app/wizard_page.h"

namespace qv {

class CDlgEnd : public wizard_page {
public:
    explicit CDlgEnd(const install_session& session);

    void ApplyLanguage() override;
    void Stretch(int dw, int dh) override;

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;

private:
    const install_session& session_;
};

} // namespace qv
