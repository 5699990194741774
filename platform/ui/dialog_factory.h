#pragma once
// Dialogs made from templates: the dialog and one control per item, at the items' rectangles
// converted to pixels, with the items' styles, texts and ids.

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_template.h"

#include <memory>

namespace platform::ui {

// A top-level dialog (CreateDialogIndirectParamW without a parent), owned by owner when given.
// Its rectangle is the client area, placed at the template's position.
std::unique_ptr<dialog> create_dialog(desktop& session, const dialog_template& source,
                                      window* owner);

// A dialog inside parent (a page with WS_CHILD and DS_CONTROL); the parent keeps it.
dialog& create_child_dialog(window& parent, const dialog_template& source);

// The control an item makes, with the class its template names: Button, Edit, Static,
// ComboBoxEx32 and msctls_progress32 have their own models, other classes plain windows.
window& create_control(dialog& parent, const dialog_item_template& item);

} // namespace platform::ui
