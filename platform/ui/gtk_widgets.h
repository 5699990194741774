#pragma once
// The widgets of each kind of window.

#include "platform/ui/gtk_view.h"

#include <memory>

namespace platform::ui {

// A top-level dialog becomes a GtkWindow around a GtkFixed; a child dialog or a window of an
// unknown class a GtkFixed; each control the widget of its kind.
std::unique_ptr<gtk_view> make_view(window& model);

} // namespace platform::ui
