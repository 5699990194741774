#pragma once
// The GTK widgets that show one window of the model. The outer widget sits in the parent's
// GtkFixed (or is the GtkWindow of a top-level dialog); the inner one takes focus and input; a
// container holds the children of dialogs.

#include "platform/ui/window.h"

#include <gtk/gtk.h>

namespace platform::ui {

class gtk_view {
public:
    gtk_view(window& model, GtkWidget* outer, GtkWidget* inner, GtkWidget* container);
    ~gtk_view();
    gtk_view(const gtk_view&) = delete;
    gtk_view& operator=(const gtk_view&) = delete;

    // The view whose inner widget this is; none once the view is gone (its widget may outlive
    // it while a signal handler holds a reference).
    static gtk_view* of(GtkWidget* inner);

    window& model() const { return model_; }
    GtkWidget* outer() const { return outer_; }
    GtkWidget* inner() const { return inner_; }
    GtkWidget* container() const { return container_; }

    // A lone radio button cannot be unchecked in GTK: it shares a group with this hidden one,
    // which is checked instead.
    GtkWidget* radio_off() const { return radio_off_; }
    void set_radio_off(GtkWidget* hidden);

    // While the model's state is copied to the widgets, their signals must not feed it back.
    bool updating() const { return updating_ > 0; }

    class update_scope {
    public:
        explicit update_scope(gtk_view& view) : view_(view) { ++view_.updating_; }
        ~update_scope() { --view_.updating_; }
        update_scope(const update_scope&) = delete;
        update_scope& operator=(const update_scope&) = delete;

    private:
        gtk_view& view_;
    };

private:
    window& model_;
    GtkWidget* outer_;
    GtkWidget* inner_;
    GtkWidget* container_;
    GtkWidget* radio_off_ = nullptr;
    int updating_ = 0;
};

} // namespace platform::ui
