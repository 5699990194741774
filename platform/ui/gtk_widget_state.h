#pragma once
// The copy of a window's own state onto its widgets: title and icons, texts, check state,
// default button, edit text and scrolling, combo box items and their pictures, static pictures,
// a progress bar's position.

#include "platform/ui/gtk_view.h"

namespace platform::ui {

// Copies the state the model holds for this kind of window onto its widgets, without their
// signals reaching the model.
void show_state(gtk_view& view);

} // namespace platform::ui
