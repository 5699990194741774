#include "platform/ui/progress_bar.h"

#include <algorithm>
#include <utility>

namespace platform::ui {

progress_bar::progress_bar(desktop& owner_desktop, window* parent, creation values)
    : window(owner_desktop, parent, std::move(values)) {}

progress_range progress_bar::set_range(progress_range range) {
    const progress_range earlier = std::exchange(range_, range);
    position_ =
        std::clamp(position_, std::min(range_.low, range_.high), std::max(range_.low, range_.high));
    changed(window_change::state);
    return earlier;
}

int progress_bar::set_position(int position) {
    const int earlier = position_;
    position_ =
        std::clamp(position, std::min(range_.low, range_.high), std::max(range_.low, range_.high));
    changed(window_change::state);
    return earlier;
}

} // namespace platform::ui
