#include "wizard/page_layout.h"

namespace qv {

namespace fw = platform::framework;

void grow_control(fw::CWnd& page, int id, control_growth growth) {
    fw::CWnd* control = page.GetDlgItem(id);
    if (!control)
        return;
    fw::rect area;
    control->GetWindowRect(&area);
    page.ScreenToClient(&area);
    control->SetWindowPos(nullptr, area.left + growth.move_right, area.top + growth.move_down,
                          area.width() + growth.widen, area.height() + growth.heighten,
                          fw::SWP_NOZORDER | fw::SWP_NOREDRAW | fw::SWP_NOACTIVATE);
}

} // namespace qv
