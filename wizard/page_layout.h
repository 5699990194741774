#pragma once
// How the pages' controls follow a page that grows: moved down, widened, made taller, without
// repainting.

#include "platform/framework/wnd.h"

namespace qv {

struct control_growth {
    int right = 0;
    int bottom = 0;
    int down = 0;
};

// Moves the control down by growth.down and grows its right and bottom edges by growth.right
// and growth.bottom; nothing when the page has no such control.
void grow_control(platform::framework::CWnd& page, int id, control_growth growth);

} // namespace qv
