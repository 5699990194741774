#pragma once
// The folder tree in a real window: a GtkTreeView in a scrolled frame, filled from the model's
// items as far as they have been read. Opening a row reads its folders through the model;
// clicking a row selects its item in the model.

#include "platform/ui/folder_tree.h"
#include "platform/ui/gtk_view.h"

#include <memory>

namespace platform::ui {

std::unique_ptr<gtk_view> folder_tree_view(folder_tree& model);
void show_folder_tree_state(gtk_view& view, folder_tree& model);
void connect_folder_tree_input(gtk_view& view);

} // namespace platform::ui
