#pragma once
// The about box: the installer's name and version and its copyright line from its own version
// resource, and the maker's contact lines.

#include "platform/framework/dialog.h"

namespace qv {

class CAboutDlg : public platform::framework::CDialog {
public:
    CAboutDlg();

    bool OnInitDialog() override;
};

} // namespace qv
