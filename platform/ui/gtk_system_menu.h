#pragma once
// The system menu in a real window: Alt+Space, or a right click on the window's background,
// opens the model's system menu (after WM_INITMENUPOPUP) as a GTK menu; picking an item is the
// model's system command. Without a window manager this is the only way to reach it.

#include "platform/ui/gtk_view.h"

#include <gtk/gtk.h>

namespace platform::ui {

// Opens the menu of the top-level dialog shown by the view, for the event that asked for it.
void pop_up_system_menu(gtk_view& top, const GdkEvent* trigger);

} // namespace platform::ui
