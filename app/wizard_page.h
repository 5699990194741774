#pragma once
// A page of the wizard's frame (the wizard's pages and the install page): a dialog made as a
// child of the frame, which the frame re-texts in the current language and enlarges to the size
// of the largest page.

#include "platform/framework/dialog.h"

namespace qv {

class wizard_page : public platform::framework::CDialog {
public:
    using CDialog::CDialog;

    // Sets every text of the page from the string tables in the current language.
    virtual void ApplyLanguage() = 0;
    // The page has just been enlarged by dw x dh pixels: its controls move and grow with it.
    virtual void Stretch(int dw, int dh) = 0;
};

} // namespace qv
