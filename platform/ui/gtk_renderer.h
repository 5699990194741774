#pragma once
// The renderer with a display: each top-level dialog is a GtkWindow, each control a GTK widget
// at the model's pixel rectangle in a GtkFixed. The widgets mirror the model on every change;
// the user's input goes to the model, never straight to the widgets' state.

#include "platform/ui/gtk_text_metrics.h"
#include "platform/ui/gtk_view.h"
#include "platform/ui/renderer.h"

#include <memory>
#include <unordered_map>

namespace platform::ui {

// Needs the display opened (open_gtk_display).
class gtk_renderer final : public renderer {
public:
    gtk_renderer() = default;
    ~gtk_renderer() override;
    gtk_renderer(const gtk_renderer&) = delete;
    gtk_renderer& operator=(const gtk_renderer&) = delete;

    void window_created(window& created) override;
    void window_changed(window& changed, window_change change) override;
    void window_destroyed(window& destroyed) override;
    void cursor_changed(cursor_shape shape) override;

    // Handles the next GTK event, waiting for one.
    modal_turn run_modal_turn(dialog& active) override;
    // Handles the pending GTK events.
    void pump_messages() override;
    int show_message_box(const message_box& box) override;

    const text_metrics& metrics() const override { return metrics_; }

    // The widgets showing a window; none for a window the renderer has not seen.
    gtk_view* view_of(const window& shown) const;

private:
    void refresh(gtk_view& view);
    void refresh_children(const window& parent);
    void place(gtk_view& view);
    void show_focus(const dialog& top);
    void show_cursor(gtk_view& top);

    std::unordered_map<const window*, std::unique_ptr<gtk_view>> views_;
    cursor_shape cursor_ = cursor_shape::arrow;
    gtk_text_metrics metrics_;
};

} // namespace platform::ui
