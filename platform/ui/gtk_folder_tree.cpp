#include "platform/ui/gtk_folder_tree.h"

#include "platform/os/unicode.h"
#include "platform/ui/gtk_widget_state.h"

#include <string>
#include <vector>

namespace platform::ui {

namespace {

using item = folder_tree::item;

enum column : int { label_column, item_column, column_count };

// The rows as last filled in, so that a change of selection or of opened rows alone does not
// fill the store again (which would lose the scrolling).
constexpr const char* shape_key = "qv-folder-tree-shape";

GtkTreeView* tree_view_of(gtk_view& view) {
    return GTK_TREE_VIEW(view.inner());
}

// One line per row: its depth, its label, and whether its folders have been read.
void describe(const item& shown, int depth, std::wstring& shape) {
    shape +=
        std::to_wstring(depth) + L':' + shown.label + (shown.children_read ? L"+" : L"-") + L'\n';
    for (const auto& child : shown.children)
        describe(*child, depth + 1, shape);
}

void add_rows(GtkTreeStore* store, GtkTreeIter* parent, item& shown) {
    GtkTreeIter row;
    gtk_tree_store_append(store, &row, parent);
    gtk_tree_store_set(store, &row, label_column, platform::os::to_utf8(shown.label).c_str(),
                       item_column, &shown, -1);
    if (!shown.children_read) {
        // A folder not yet read may have subfolders: an empty row gives it its expander.
        GtkTreeIter placeholder;
        gtk_tree_store_append(store, &placeholder, &row);
        gtk_tree_store_set(store, &placeholder, label_column, "", item_column, nullptr, -1);
        return;
    }
    for (const auto& child : shown.children)
        add_rows(store, &row, *child);
}

// The row of an item: found by walking the store in step with the model's items.
GtkTreePath* path_of(const item& target) {
    std::vector<int> indices;
    for (const item* current = &target; current->parent; current = current->parent) {
        const auto& siblings = current->parent->children;
        for (std::size_t i = 0; i < siblings.size(); ++i) {
            if (siblings[i].get() == current) {
                indices.insert(indices.begin(), static_cast<int>(i));
                break;
            }
        }
    }
    indices.insert(indices.begin(), 0);
    return gtk_tree_path_new_from_indicesv(indices.data(), indices.size());
}

void expand_rows(GtkTreeView* tree, const item& shown) {
    if (!shown.expanded)
        return;
    GtkTreePath* path = path_of(shown);
    gtk_tree_view_expand_row(tree, path, FALSE);
    gtk_tree_path_free(path);
    for (const auto& child : shown.children)
        expand_rows(tree, *child);
}

item* item_at(GtkTreeModel* rows, GtkTreeIter* row) {
    gpointer found = nullptr;
    gtk_tree_model_get(rows, row, item_column, &found, -1);
    return static_cast<item*>(found);
}

// Hands the input to the model, then shows the model's state again unless the window is gone.
template <class Action> void feed_model(gtk_view& view, Action act) {
    GtkWidget* inner = GTK_WIDGET(g_object_ref(view.inner()));
    act(static_cast<folder_tree&>(view.model()));
    if (gtk_view* still = gtk_view::of(inner))
        show_state(*still);
    g_object_unref(inner);
}

// The model opens the item (reading its folders) and the rows follow; GTK's own opening of the
// row is then not needed.
gboolean on_test_expand(GtkTreeView*, GtkTreeIter* row, GtkTreePath*, gpointer data) {
    auto& view = *static_cast<gtk_view*>(data);
    if (view.updating())
        return FALSE;
    item* opened = item_at(gtk_tree_view_get_model(tree_view_of(view)), row);
    if (!opened)
        return TRUE;
    feed_model(view, [opened](folder_tree& model) { model.expand(*opened); });
    return TRUE;
}

gboolean on_test_collapse(GtkTreeView*, GtkTreeIter* row, GtkTreePath*, gpointer data) {
    auto& view = *static_cast<gtk_view*>(data);
    if (view.updating())
        return FALSE;
    item* closed = item_at(gtk_tree_view_get_model(tree_view_of(view)), row);
    if (!closed)
        return TRUE;
    feed_model(view, [closed](folder_tree& model) { model.collapse(*closed); });
    return TRUE;
}

void on_selection_changed(GtkTreeSelection* selection, gpointer data) {
    auto& view = *static_cast<gtk_view*>(data);
    if (view.updating())
        return;
    GtkTreeModel* rows = nullptr;
    GtkTreeIter row;
    if (!gtk_tree_selection_get_selected(selection, &rows, &row))
        return;
    item* chosen = item_at(rows, &row);
    if (!chosen)
        return;
    feed_model(view, [chosen](folder_tree& model) { model.select(*chosen); });
}

} // namespace

std::unique_ptr<gtk_view> folder_tree_view(folder_tree& model) {
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    GtkTreeStore* rows = gtk_tree_store_new(column_count, G_TYPE_STRING, G_TYPE_POINTER);
    GtkWidget* tree = gtk_tree_view_new_with_model(GTK_TREE_MODEL(rows));
    g_object_unref(rows);
    gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(tree), FALSE);
    GtkTreeViewColumn* names = gtk_tree_view_column_new_with_attributes(
        "", gtk_cell_renderer_text_new(), "text", label_column, nullptr);
    gtk_tree_view_append_column(GTK_TREE_VIEW(tree), names);
    gtk_container_add(GTK_CONTAINER(scroller), tree);
    gtk_widget_show(tree);
    return std::make_unique<gtk_view>(model, scroller, tree, nullptr);
}

void show_folder_tree_state(gtk_view& view, folder_tree& model) {
    GtkTreeView* tree = tree_view_of(view);
    std::wstring shape;
    describe(model.root(), 0, shape);
    const std::string shape_text = platform::os::to_utf8(shape);
    const auto* shown_shape =
        static_cast<const char*>(g_object_get_data(G_OBJECT(tree), shape_key));
    if (!shown_shape || shape_text != shown_shape) {
        GtkTreeStore* rows = GTK_TREE_STORE(gtk_tree_view_get_model(tree));
        gtk_tree_store_clear(rows);
        add_rows(rows, nullptr, model.root());
        g_object_set_data_full(G_OBJECT(tree), shape_key, g_strdup(shape_text.c_str()), g_free);
    }
    gtk_tree_view_collapse_all(tree);
    expand_rows(tree, model.root());
    GtkTreeSelection* selection = gtk_tree_view_get_selection(tree);
    if (const item* selected = model.selected()) {
        // The keyboard moves on from the selected row, as it does on Windows.
        GtkTreePath* path = path_of(*selected);
        gtk_tree_view_set_cursor(tree, path, nullptr, FALSE);
        gtk_tree_view_scroll_to_cell(tree, path, nullptr, FALSE, 0.0f, 0.0f);
        gtk_tree_path_free(path);
    } else {
        gtk_tree_selection_unselect_all(selection);
    }
}

void connect_folder_tree_input(gtk_view& view) {
    GtkWidget* tree = view.inner();
    g_signal_connect(tree, "test-expand-row", G_CALLBACK(on_test_expand), &view);
    g_signal_connect(tree, "test-collapse-row", G_CALLBACK(on_test_collapse), &view);
    g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(tree)), "changed",
                     G_CALLBACK(on_selection_changed), &view);
}

} // namespace platform::ui
