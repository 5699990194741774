#include "platform/ui/gtk_input.h"

#include "platform/os/unicode.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/gtk_folder_tree.h"
#include "platform/ui/gtk_system_menu.h"
#include "platform/ui/gtk_widget_state.h"
#include "platform/ui/keyboard.h"
#include "platform/ui/styles.h"

#include <optional>
#include <string>

namespace platform::ui {

namespace {

gtk_view& view_of(gpointer data) {
    return *static_cast<gtk_view*>(data);
}

// Whether the input comes from the user rather than from copying the model's state.
bool from_user(gtk_view& view) {
    return !view.updating();
}

// Hands the input to the model, then shows the model's state again unless the model's handlers
// destroyed the window meanwhile.
template <class Action> void feed_model(gtk_view& view, Action act) {
    GtkWidget* inner = GTK_WIDGET(g_object_ref(view.inner()));
    act(view.model());
    if (gtk_view* still = gtk_view::of(inner))
        show_state(*still);
    g_object_unref(inner);
}

void on_clicked(GtkButton*, gpointer data) {
    gtk_view& view = view_of(data);
    if (!from_user(view))
        return;
    feed_model(view, [](window& model) { static_cast<button&>(model).click(); });
}

void on_entry_changed(GtkEditable* entry, gpointer data) {
    gtk_view& view = view_of(data);
    if (!from_user(view))
        return;
    std::wstring text = platform::os::from_utf8(gtk_entry_get_text(GTK_ENTRY(entry)));
    feed_model(view, [&](window& model) { static_cast<edit&>(model).type(std::move(text)); });
}

void on_buffer_changed(GtkTextBuffer* buffer, gpointer data) {
    gtk_view& view = view_of(data);
    if (!from_user(view))
        return;
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* typed = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    std::wstring text;
    for (wchar_t c : platform::os::from_utf8(typed)) {
        if (c == L'\n')
            text += L'\r';
        text += c;
    }
    g_free(typed);
    feed_model(view, [&](window& model) { static_cast<edit&>(model).type(std::move(text)); });
}

void on_combo_changed(GtkComboBox* combo, gpointer data) {
    gtk_view& view = view_of(data);
    if (!from_user(view))
        return;
    const int picked = gtk_combo_box_get_active(combo);
    feed_model(view, [&](window& model) { static_cast<combo_box_ex&>(model).pick(picked); });
}

// The focus moved within the window (a click, GTK's own keyboard handling): the control whose
// widget holds it takes the model's focus. A combo box's focus is on a widget inside it.
void on_set_focus(GtkWindow*, GtkWidget* focused, gpointer) {
    for (GtkWidget* w = focused; w; w = gtk_widget_get_parent(w)) {
        gtk_view* view = gtk_view::of(w);
        if (!view)
            continue;
        if (from_user(*view) && view->model().parent()) {
            if (auto* top = dynamic_cast<dialog*>(&view->model().root()))
                top->set_focus(view->model());
        }
        return;
    }
}

std::optional<dialog_key> dialog_key_of(const GdkEventKey& key) {
    switch (key.keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        return dialog_key::enter;
    case GDK_KEY_Escape:
        return dialog_key::escape;
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
        return key.state & GDK_SHIFT_MASK ? dialog_key::shift_tab : dialog_key::tab;
    case GDK_KEY_ISO_Left_Tab:
        return dialog_key::shift_tab;
    case GDK_KEY_Down:
    case GDK_KEY_Right:
    case GDK_KEY_KP_Down:
    case GDK_KEY_KP_Right:
        return dialog_key::next_in_group;
    case GDK_KEY_Up:
    case GDK_KEY_Left:
    case GDK_KEY_KP_Up:
    case GDK_KEY_KP_Left:
        return dialog_key::previous_in_group;
    default:
        return std::nullopt;
    }
}

// The dialog keys go to the model before any widget sees them, as IsDialogMessageW takes them
// first; a disabled dialog (the owner of a running modal one) takes none.
gboolean on_key_press(GtkWidget*, GdkEventKey* key, gpointer data) {
    gtk_view& view = view_of(data);
    if (key->keyval == GDK_KEY_space && (key->state & GDK_MOD1_MASK)) {
        pop_up_system_menu(view, reinterpret_cast<GdkEvent*>(key));
        return TRUE;
    }
    const auto pressed = dialog_key_of(*key);
    if (!pressed)
        return FALSE;
    auto& top = static_cast<dialog&>(view.model());
    const bool arrow =
        *pressed == dialog_key::next_in_group || *pressed == dialog_key::previous_in_group;
    // An edit, a list or an open menu uses the arrows itself.
    if (arrow && !dynamic_cast<button*>(top.focus()))
        return FALSE;
    if (top.is_enabled())
        press_key(top, *pressed);
    return TRUE;
}

// A right click that no control took opens the system menu.
gboolean on_button_press(GtkWidget*, GdkEventButton* click, gpointer data) {
    if (click->type != GDK_BUTTON_PRESS || click->button != GDK_BUTTON_SECONDARY)
        return FALSE;
    pop_up_system_menu(view_of(data), reinterpret_cast<GdkEvent*>(click));
    return TRUE;
}

// The window manager minimized or restored the window.
gboolean on_window_state(GtkWidget*, GdkEventWindowState* state, gpointer data) {
    if (state->changed_mask & GDK_WINDOW_STATE_ICONIFIED)
        static_cast<dialog&>(view_of(data).model())
            .set_minimized((state->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0);
    return FALSE;
}

// The window stays: closing is the model's Close system command, which the dialog may refuse.
gboolean on_delete(GtkWidget*, GdkEvent*, gpointer data) {
    auto& top = static_cast<dialog&>(view_of(data).model());
    if (top.is_enabled())
        top.system_command(sc::close);
    return TRUE;
}

} // namespace

void connect_input(gtk_view& view) {
    window& model = view.model();
    GtkWidget* inner = view.inner();
    if (dynamic_cast<dialog*>(&model)) {
        if (!model.parent()) {
            g_signal_connect(inner, "key-press-event", G_CALLBACK(on_key_press), &view);
            g_signal_connect(inner, "delete-event", G_CALLBACK(on_delete), &view);
            g_signal_connect(inner, "set-focus", G_CALLBACK(on_set_focus), nullptr);
            g_signal_connect(inner, "button-press-event", G_CALLBACK(on_button_press), &view);
            g_signal_connect(inner, "window-state-event", G_CALLBACK(on_window_state), &view);
        }
        return;
    }
    if (auto* shown = dynamic_cast<button*>(&model)) {
        if (shown->kind() != button_kind::group_box)
            g_signal_connect(inner, "clicked", G_CALLBACK(on_clicked), &view);
    } else if (auto* shown = dynamic_cast<edit*>(&model)) {
        if (shown->is_multiline())
            g_signal_connect(gtk_text_view_get_buffer(GTK_TEXT_VIEW(inner)), "changed",
                             G_CALLBACK(on_buffer_changed), &view);
        else
            g_signal_connect(inner, "changed", G_CALLBACK(on_entry_changed), &view);
    } else if (dynamic_cast<combo_box_ex*>(&model)) {
        g_signal_connect(inner, "changed", G_CALLBACK(on_combo_changed), &view);
    } else if (dynamic_cast<folder_tree*>(&model)) {
        connect_folder_tree_input(view);
    }
}

} // namespace platform::ui
