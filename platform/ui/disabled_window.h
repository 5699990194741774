#pragma once
// Keeps a window disabled for a scope, as a modal box does to its owner: a window that was
// already disabled is left so and not enabled afterwards.

#include "platform/ui/window.h"

namespace platform::ui {

class disabled_window {
public:
    explicit disabled_window(window* target)
        : target_(target && target->is_enabled() ? target : nullptr) {
        if (target_)
            target_->disable();
    }
    ~disabled_window() {
        if (target_)
            target_->enable();
    }
    disabled_window(const disabled_window&) = delete;
    disabled_window& operator=(const disabled_window&) = delete;

private:
    window* target_;
};

} // namespace platform::ui
