#include "product/uninstaller/message_dialog.h"

#include "platform/os/unicode.h"

#include <cstdlib>
#include <gtk/gtk.h>
#include <string>

namespace uninstaller {
namespace {

bool display_named() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

gint run_dialog(std::wstring_view title, std::wstring_view text, GtkMessageType type,
                GtkButtonsType buttons, GtkResponseType default_response) {
    const std::string message = platform::os::to_utf8(text);
    GtkWidget* dialog =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, buttons, "%s", message.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), platform::os::to_utf8(title).c_str());
    gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), default_response);
    const gint answer = gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    while (gtk_events_pending())
        gtk_main_iteration();
    return answer;
}

} // namespace

bool open_display() {
    static const bool opened = display_named() && gtk_init_check(nullptr, nullptr);
    return opened;
}

bool ask_yes_no(std::wstring_view title, std::wstring_view question) {
    return run_dialog(title, question, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                      GTK_RESPONSE_YES) == GTK_RESPONSE_YES;
}

void show_message(std::wstring_view title, std::wstring_view text, dialog_icon icon) {
    run_dialog(title, text, icon == dialog_icon::error ? GTK_MESSAGE_ERROR : GTK_MESSAGE_INFO,
               GTK_BUTTONS_OK, GTK_RESPONSE_OK);
}

} // namespace uninstaller
