#include "platform/ui/gtk_display.h"

#include "platform/ui/gtk_object.h"

#include <gtk/gtk.h>

#include <string>

namespace platform::ui {

namespace {

// The theme's padding and minimum heights are made for larger controls than dialog units give
// (a 14-unit button is 23 pixels high); without this the controls overflow their rectangles.
std::string style_sheet() {
    return std::string("* { font-family: ") + gtk_dialog_font_family +
           "; font-size: " + std::to_string(gtk_dialog_font_points) +
           "pt; }\n"
           "button, entry, combobox button { min-height: 0; min-width: 0; padding: 1px 4px; }\n"
           // The default push button's heavier frame, as Windows draws it.
           "button.default { border: 2px solid @theme_selected_bg_color; }\n"
           "checkbutton, radiobutton { min-height: 0; padding: 0; }\n"
           "checkbutton check, radiobutton radio { min-width: 12px; min-height: 12px; "
           "margin: 0 4px 0 0; }\n"
           "progressbar trough, progressbar progress { min-height: 0; min-width: 0; }\n"
           "combobox cellview { min-height: 0; }\n";
}

display_state initialise() {
    if (!gtk_init_check(nullptr, nullptr))
        return display_state::unavailable;
    const std::string sheet = style_sheet();
    gtk_object<GtkCssProvider> provider(gtk_css_provider_new());
    gtk_css_provider_load_from_data(provider.get(), sheet.c_str(), -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                              GTK_STYLE_PROVIDER(provider.get()),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    return display_state::opened;
}

} // namespace

display_state open_gtk_display() {
    static const display_state state = initialise();
    return state;
}

} // namespace platform::ui
