#pragma once
// How the pages' controls follow a page that grows: moved down, widened, made taller, without
// repainting.

#include "platform/framework/wnd.h"

namespace qv {

struct control_growth {
    int move_right = 0;
    int move_down = 0;
    int widen = 0;
    int heighten = 0;
};

// Moves the control and makes it wider and taller by growth; nothing when the page has no such
// control.
void grow_control(platform::framework::CWnd& page, int id, control_growth growth);

} // namespace qv
