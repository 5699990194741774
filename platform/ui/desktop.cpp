#include "platform/ui/desktop.h"

namespace platform::ui {

desktop::desktop(std::unique_ptr<renderer> view) : view_(std::move(view)) {}

void desktop::begin_wait_cursor() {
    if (wait_count_++ == 0)
        view_->cursor_changed(cursor_shape::wait);
}

void desktop::end_wait_cursor() {
    // An unmatched end is ignored, as the count never goes below zero.
    if (wait_count_ == 0)
        return;
    if (--wait_count_ == 0)
        view_->cursor_changed(cursor_shape::arrow);
}

} // namespace platform::ui
