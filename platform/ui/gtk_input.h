#pragma once
// The user's input on a view's widgets, turned into what the model does with it: clicks,
// typing, picking an item; for a top-level dialog also the dialog keys, the close button and
// the focus moving between its controls. The widgets then show the model's state again, so that
// input the model refuses (a click on a disabled dialog, a plain check box) leaves no trace.

#include "platform/ui/gtk_view.h"

namespace platform::ui {

void connect_input(gtk_view& view);

} // namespace platform::ui
