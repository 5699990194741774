#pragma once
// The widgets of each kind of window, and the copy of a window's own state (texts, check
// state, items, pictures, position of a progress bar, scrolling) onto them.

#include "platform/ui/gtk_view.h"

#include <memory>

namespace platform::ui {

// A top-level dialog becomes a GtkWindow around a GtkFixed; a child dialog or a window of an
// unknown class a GtkFixed; each control the widget of its kind.
std::unique_ptr<gtk_view> make_view(window& model);

// Copies the state the model holds for this kind of window onto its widgets.
void show_state(gtk_view& view);

} // namespace platform::ui
