#pragma once
// What WM_GETMINMAXINFO carries: the size and place of a maximized window and the limits of
// resizing, as the renderer proposes them and the window's handler may change them.

namespace platform::ui {

struct point {
    int x = 0, y = 0;
    bool operator==(const point&) const = default;
};

struct min_max_info {
    point max_size;
    point max_position;
    point min_track_size;
    point max_track_size;
    bool operator==(const min_max_info&) const = default;
};

} // namespace platform::ui
