#pragma once
// Progress bars: a range and a position within it.

#include "platform/ui/window.h"

namespace platform::ui {

struct progress_range {
    int low = 0;
    int high = 100;
    bool operator==(const progress_range&) const = default;
};

class progress_bar : public window {
public:
    progress_bar(desktop& owner_desktop, window* parent, creation values);

    progress_range range() const { return range_; }
    // PBM_SETRANGE32: the earlier range; the position is kept within the new one.
    progress_range set_range(progress_range range);

    int position() const { return position_; }
    // PBM_SETPOS: the earlier position; the new one is kept within the range.
    int set_position(int position);

private:
    progress_range range_;
    int position_ = 0;
};

} // namespace platform::ui
