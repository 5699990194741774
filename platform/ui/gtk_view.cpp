#include "platform/ui/gtk_view.h"

namespace platform::ui {

namespace {

constexpr const char* view_key = "qv-view";

} // namespace

gtk_view::gtk_view(window& model, GtkWidget* outer, GtkWidget* inner, GtkWidget* container)
    : model_(model), outer_(GTK_WIDGET(g_object_ref_sink(outer))), inner_(inner),
      container_(container) {
    g_object_set_data(G_OBJECT(inner_), view_key, this);
}

gtk_view* gtk_view::of(GtkWidget* inner) {
    return static_cast<gtk_view*>(g_object_get_data(G_OBJECT(inner), view_key));
}

gtk_view::~gtk_view() {
    g_object_set_data(G_OBJECT(inner_), view_key, nullptr);
    gtk_widget_destroy(outer_);
    g_object_unref(outer_);
    if (radio_off_) {
        gtk_widget_destroy(radio_off_);
        g_object_unref(radio_off_);
    }
}

void gtk_view::set_radio_off(GtkWidget* hidden) {
    radio_off_ = GTK_WIDGET(g_object_ref_sink(hidden));
}

} // namespace platform::ui
