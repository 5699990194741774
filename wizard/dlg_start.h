#pragma once
// The start page: the interface language with the languages' flags, what is installed and what
// the installer will do about it.

#include "app/install_session.h"
#include "platform/framework/combo_box_ex.h"
#include "platform/framework/image_list.h"
#include "app/wizard_page.h"

namespace qv {

class CDlgStart : public wizard_page {
public:
    explicit CDlgStart(const install_session& session);

    bool OnInitDialog() override;
    void ApplyLanguage() override;
    void Stretch(int dw, int dh) override;
    void OnLanguageChange();

protected:
    void DoDataExchange(platform::framework::CDataExchange* exchange) override;
    const platform::framework::message_map* GetMessageMap() const override;

private:
    const install_session& session_;
    platform::framework::CComboBoxEx m_languages;
    platform::framework::CImageList m_flags;
};

} // namespace qv
