#pragma once
// The renderer without a display: nothing is drawn; the driver sees every window change and
// decides each turn of a modal loop and answers message boxes. Text is measured with fixed
// advances.

#include "platform/ui/driver.h"
#include "platform/ui/renderer.h"

namespace platform::ui {

class headless_renderer final : public renderer {
public:
    // The driver must outlive the renderer.
    explicit headless_renderer(driver& input) : driver_(input) {}

    void window_created(window& created) override { driver_.window_created(created); }
    void window_changed(window& changed, window_change change) override {
        driver_.window_changed(changed, change);
    }
    void window_destroyed(window& destroyed) override { driver_.window_destroyed(destroyed); }
    void cursor_changed(cursor_shape) override {}

    // Asks the driver for one action and performs it.
    modal_turn run_modal_turn(dialog& active) override;
    // Without a display no input is ever pending.
    void pump_messages() override {}

    // The driver answers.
    int show_message_box(const message_box& box) override {
        return driver_.answer_message_box(box);
    }

    const text_metrics& metrics() const override { return metrics_; }

private:
    driver& driver_;
    fixed_text_metrics metrics_;
};

} // namespace platform::ui
