#include "platform/ui/gtk_widgets.h"

#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/gtk_folder_tree.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "platform/ui/styles.h"

namespace platform::ui {

namespace {

constexpr std::uint32_t ss_center = 0x1;
constexpr std::uint32_t ss_right = 0x2;
constexpr std::uint32_t ss_simple = 0xB;
constexpr std::uint32_t ss_left_no_word_wrap = 0xC;

gboolean paint_rectangle(GtkWidget* area, cairo_t* cr, gpointer model) {
    const auto& shown = *static_cast<const window*>(model);
    const std::uint32_t type = shown.style() & ss::type_mask;
    const double shade = type == ss::white_rect ? 1.0 : type == ss::gray_rect ? 0.5 : 0.0;
    cairo_set_source_rgb(cr, shade, shade, shade);
    cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(area),
                    gtk_widget_get_allocated_height(area));
    cairo_fill(cr);
    return TRUE;
}

std::unique_ptr<gtk_view> simple_view(window& model, GtkWidget* widget) {
    return std::make_unique<gtk_view>(model, widget, widget, nullptr);
}

std::unique_ptr<gtk_view> dialog_view(dialog& model) {
    GtkWidget* fixed = gtk_fixed_new();
    gtk_widget_show(fixed);
    if (model.parent())
        return std::make_unique<gtk_view>(model, fixed, fixed, fixed);
    GtkWidget* top = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_resizable(GTK_WINDOW(top), (model.style() & ws::thickframe) != 0);
    gtk_container_add(GTK_CONTAINER(top), fixed);
    return std::make_unique<gtk_view>(model, top, top, fixed);
}

std::unique_ptr<gtk_view> button_view(button& model) {
    switch (model.kind()) {
    case button_kind::check_box:
        return simple_view(model, gtk_check_button_new_with_mnemonic(""));
    case button_kind::radio: {
        GtkWidget* radio = gtk_radio_button_new_with_mnemonic(nullptr, "");
        auto view = simple_view(model, radio);
        view->set_radio_off(gtk_radio_button_new_from_widget(GTK_RADIO_BUTTON(radio)));
        return view;
    }
    case button_kind::group_box:
        return simple_view(model, gtk_frame_new(nullptr));
    case button_kind::push:
    case button_kind::default_push:
        break;
    }
    GtkWidget* push = gtk_button_new_with_mnemonic("");
    gtk_widget_set_can_default(push, TRUE);
    return simple_view(model, push);
}

std::unique_ptr<gtk_view> edit_view(edit& model) {
    if (!model.is_multiline()) {
        GtkWidget* entry = gtk_entry_new();
        // Otherwise GTK makes an entry at least 150 pixels wide, whatever its rectangle.
        gtk_entry_set_width_chars(GTK_ENTRY(entry), 1);
        gtk_entry_set_has_frame(GTK_ENTRY(entry), (model.style() & ws::border) != 0 ||
                                                      (model.ex_style() & ws_ex::client_edge));
        return simple_view(model, entry);
    }
    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    GtkWidget* text = gtk_text_view_new();
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(text), GTK_WRAP_NONE);
    gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(text), !model.is_read_only());
    gtk_container_add(GTK_CONTAINER(scroller), text);
    gtk_widget_show(text);
    return std::make_unique<gtk_view>(model, scroller, text, nullptr);
}

std::unique_ptr<gtk_view> combo_view(combo_box_ex& model) {
    GtkListStore* rows = gtk_list_store_new(2, GDK_TYPE_PIXBUF, G_TYPE_STRING);
    GtkWidget* combo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(rows));
    // An empty combo box still takes the focus and clicks, as on Windows; GTK would gray it.
    gtk_combo_box_set_button_sensitivity(GTK_COMBO_BOX(combo), GTK_SENSITIVITY_ON);
    g_object_unref(rows);
    GtkCellRenderer* picture = gtk_cell_renderer_pixbuf_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), picture, FALSE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(combo), picture, "pixbuf", 0);
    GtkCellRenderer* label = gtk_cell_renderer_text_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), label, TRUE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(combo), label, "text", 1);
    return simple_view(model, combo);
}

std::unique_ptr<gtk_view> static_view(static_control& model) {
    switch (model.kind()) {
    case static_kind::text: {
        GtkWidget* label = gtk_label_new(nullptr);
        const std::uint32_t type = model.style() & ss::type_mask;
        const float align = type == ss_center ? 0.5f : type == ss_right ? 1.0f : 0.0f;
        gtk_label_set_xalign(GTK_LABEL(label), align);
        gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
        gtk_label_set_justify(GTK_LABEL(label), type == ss_center  ? GTK_JUSTIFY_CENTER
                                                : type == ss_right ? GTK_JUSTIFY_RIGHT
                                                                   : GTK_JUSTIFY_LEFT);
        if (type != ss_simple && type != ss_left_no_word_wrap) {
            gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
            gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
        }
        if (model.style() & ss::sunken) {
            // A sunken edge around the text, inside the control's rectangle.
            GtkWidget* edge = gtk_frame_new(nullptr);
            gtk_frame_set_shadow_type(GTK_FRAME(edge), GTK_SHADOW_IN);
            gtk_container_add(GTK_CONTAINER(edge), label);
            gtk_widget_show(label);
            return std::make_unique<gtk_view>(model, edge, label, nullptr);
        }
        return simple_view(model, label);
    }
    case static_kind::icon:
    case static_kind::bitmap:
        return simple_view(model, gtk_image_new());
    case static_kind::etched_line: {
        const std::uint32_t type = model.style() & ss::type_mask;
        if (type == ss::etched_frame)
            return simple_view(model, gtk_frame_new(nullptr));
        return simple_view(model,
                           gtk_separator_new(type == ss::etched_vert ? GTK_ORIENTATION_VERTICAL
                                                                     : GTK_ORIENTATION_HORIZONTAL));
    }
    case static_kind::white_rectangle:
    case static_kind::other_rectangle:
        break;
    }
    GtkWidget* area = gtk_drawing_area_new();
    g_signal_connect(area, "draw", G_CALLBACK(paint_rectangle), &model);
    return simple_view(model, area);
}

} // namespace

std::unique_ptr<gtk_view> make_view(window& model) {
    if (auto* shown = dynamic_cast<dialog*>(&model))
        return dialog_view(*shown);
    if (auto* shown = dynamic_cast<button*>(&model))
        return button_view(*shown);
    if (auto* shown = dynamic_cast<edit*>(&model))
        return edit_view(*shown);
    if (auto* shown = dynamic_cast<combo_box_ex*>(&model))
        return combo_view(*shown);
    if (auto* shown = dynamic_cast<static_control*>(&model))
        return static_view(*shown);
    if (auto* shown = dynamic_cast<folder_tree*>(&model))
        return folder_tree_view(*shown);
    if (dynamic_cast<progress_bar*>(&model))
        return simple_view(model, gtk_progress_bar_new());
    GtkWidget* fixed = gtk_fixed_new();
    return std::make_unique<gtk_view>(model, fixed, fixed, fixed);
}

} // namespace platform::ui
