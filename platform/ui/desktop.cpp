#include "platform/ui/desktop.h"

#include "platform/ui/dialog.h"

#include <algorithm>
#include <utility>

namespace platform::ui {

namespace {
desktop* current_session = nullptr;
} // namespace

desktop::desktop(std::unique_ptr<renderer> view)
    : view_(std::move(view)), previous_(std::exchange(current_session, this)) {}

desktop::~desktop() {
    if (current_session == this)
        current_session = previous_;
}

desktop* current_desktop() {
    return current_session;
}

void desktop::top_level_destroyed(window& destroyed) {
    std::erase(top_level_, &destroyed);
}

window* desktop::active_window() const {
    return active_modal();
}

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
