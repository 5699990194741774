#include "platform/ui/gtk_system_menu.h"

#include "platform/os/unicode.h"
#include "platform/ui/dialog.h"

#include <string>

namespace platform::ui {

namespace {

constexpr const char* command_key = "qv-system-command";

// "&Close\tAlt+F4" becomes "_Close": GTK's mnemonic mark, without the accelerator's text.
std::string menu_label(const std::wstring& text) {
    std::wstring label;
    const std::wstring shown = text.substr(0, text.find(L'\t'));
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] == L'&' && i + 1 < shown.size()) {
            // "&&" is a plain "&"; "&x" marks x.
            if (shown[++i] != L'&')
                label += L'_';
        }
        if (shown[i] == L'_')
            label += L'_';
        label += shown[i];
    }
    return platform::os::to_utf8(label);
}

void on_item_activated(GtkMenuItem* item, gpointer top_widget) {
    gtk_view* top = gtk_view::of(GTK_WIDGET(top_widget));
    if (!top)
        return;
    const auto command = static_cast<std::uint32_t>(
        GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), command_key)));
    static_cast<dialog&>(top->model()).system_command(command);
}

gboolean destroy_menu(gpointer menu) {
    gtk_widget_destroy(GTK_WIDGET(menu));
    return G_SOURCE_REMOVE;
}

// The menu goes once it closes; an item's activation comes after the close, so not at once.
void on_menu_closed(GtkMenuShell* menu, gpointer) {
    g_idle_add(destroy_menu, menu);
}

} // namespace

void pop_up_system_menu(gtk_view& top, const GdkEvent* trigger) {
    auto& model = static_cast<dialog&>(top.model());
    if (!model.is_enabled())
        return;
    GtkWidget* popup = gtk_menu_new();
    for (const menu_item& entry : model.open_system_menu().items()) {
        GtkWidget* shown = entry.kind == menu_item_kind::separator
                               ? gtk_separator_menu_item_new()
                               : gtk_menu_item_new_with_mnemonic(menu_label(entry.text).c_str());
        if (entry.kind == menu_item_kind::command) {
            gtk_widget_set_sensitive(shown, entry.state == menu_item_state::enabled);
            g_object_set_data(G_OBJECT(shown), command_key, GUINT_TO_POINTER(entry.command));
            g_signal_connect(shown, "activate", G_CALLBACK(on_item_activated), top.inner());
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(popup), shown);
        gtk_widget_show(shown);
    }
    gtk_menu_attach_to_widget(GTK_MENU(popup), top.outer(), nullptr);
    g_signal_connect(popup, "deactivate", G_CALLBACK(on_menu_closed), nullptr);
    if (trigger && trigger->type == GDK_BUTTON_PRESS) {
        gtk_menu_popup_at_pointer(GTK_MENU(popup), trigger);
    } else {
        gtk_menu_popup_at_widget(GTK_MENU(popup), top.container() ? top.container() : top.outer(),
                                 GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST, trigger);
        gtk_menu_shell_select_first(GTK_MENU_SHELL(popup), FALSE);
    }
}

} // namespace platform::ui
