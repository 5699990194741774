#pragma once
// The UI session of the process: its renderer, its top-level windows, the running modal dialogs
// and the wait cursor. The session made last is the process's current one while it exists, as a
// Windows process has one desktop its windows live on.

#include "platform/ui/renderer.h"

#include <memory>
#include <vector>

namespace platform::ui {

class dialog;

class desktop {
public:
    explicit desktop(std::unique_ptr<renderer> view);
    ~desktop();
    desktop(const desktop&) = delete;
    desktop& operator=(const desktop&) = delete;

    renderer& view() const { return *view_; }
    const text_metrics& metrics() const { return view_->metrics(); }

    // BeginWaitCursor/EndWaitCursor: counted, the wait cursor shows while the count is positive.
    void begin_wait_cursor();
    void end_wait_cursor();
    bool wait_cursor_shown() const { return wait_count_ > 0; }

    // The innermost running modal dialog, if any.
    dialog* active_modal() const { return modal_.empty() ? nullptr : modal_.back(); }
    void enter_modal(dialog& running) { modal_.push_back(&running); }
    void leave_modal() { modal_.pop_back(); }

    // The windows without parent, in the order they were made (EnumThreadWindows).
    const std::vector<window*>& top_level_windows() const { return top_level_; }
    void top_level_created(window& created) { top_level_.push_back(&created); }
    void top_level_destroyed(window& destroyed);

    // GetActiveWindow: the innermost running modal dialog; none while no dialog runs.
    window* active_window() const;

private:
    std::unique_ptr<renderer> view_;
    int wait_count_ = 0;
    std::vector<dialog*> modal_;
    std::vector<window*> top_level_;
    desktop* previous_;
};

// The process's current session; none when there is none.
desktop* current_desktop();

// Shows the wait cursor for a scope.
class wait_cursor {
public:
    explicit wait_cursor(desktop& session) : session_(session) { session_.begin_wait_cursor(); }
    ~wait_cursor() { session_.end_wait_cursor(); }
    wait_cursor(const wait_cursor&) = delete;
    wait_cursor& operator=(const wait_cursor&) = delete;

private:
    desktop& session_;
};

} // namespace platform::ui
