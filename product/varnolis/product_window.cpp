#include "product/varnolis/product_window.h"

#include "platform/os/unicode.h"

#include <cstdlib>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <string>

namespace varnolis {
namespace {

bool display_named() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

gboolean quit_on_signal(gpointer) {
    gtk_main_quit();
    return G_SOURCE_CONTINUE;
}

} // namespace

window_run run_product_window(std::wstring_view title, const termination_signals& signals) {
    if (!display_named() || !gtk_init_check(nullptr, nullptr))
        return window_run::no_display;

    const std::string title_text = platform::os::to_utf8(title);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_object_add_weak_pointer(G_OBJECT(window), reinterpret_cast<gpointer*>(&window));
    gtk_window_set_title(GTK_WINDOW(window), title_text.c_str());
    gtk_window_set_default_size(GTK_WINDOW(window), 420, 160);
    const std::string line = title_text + " is running. Close this window to end it.";
    gtk_container_add(GTK_CONTAINER(window), gtk_label_new(line.c_str()));
    const gulong on_destroy =
        g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);

    const guint on_terminate = g_unix_signal_add(SIGTERM, quit_on_signal, nullptr);
    const guint on_interrupt = g_unix_signal_add(SIGINT, quit_on_signal, nullptr);
    signals.unblock();

    gtk_widget_show_all(window);
    gtk_main();

    // A signal ended the loop with the window still open: it goes now, without asking the loop
    // to end a second time.
    if (window) {
        g_signal_handler_disconnect(window, on_destroy);
        gtk_widget_destroy(window);
    }
    g_source_remove(on_terminate);
    g_source_remove(on_interrupt);
    return window_run::closed;
}

} // namespace varnolis
