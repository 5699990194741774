#include "platform/ui/gtk_widgets.h"

#include "platform/os/resources.h"
#include "platform/os/unicode.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/gtk_pictures.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "platform/ui/styles.h"

#include <string>

namespace platform::ui {

namespace {

using platform::os::to_utf8;

// Icons as GetSystemMetrics gives them: SM_CXICON and SM_CXSMICON.
constexpr int big_icon_size = 32;
constexpr int small_icon_size = 16;

constexpr std::uint32_t ss_center = 0x1;
constexpr std::uint32_t ss_right = 0x2;
constexpr std::uint32_t ss_simple = 0xB;
constexpr std::uint32_t ss_left_no_word_wrap = 0xC;
constexpr std::uint32_t ss_no_prefix = 0x80;

enum class prefix { mnemonic, literal };

// Windows marks mnemonics with '&' ("&&" is a literal one), GTK with '_'. Line ends lose '\r'.
std::string gtk_text(const std::wstring& text, prefix marks) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r')
            continue;
        if (marks == prefix::mnemonic && c == L'_') {
            out += L"__";
        } else if (marks == prefix::mnemonic && c == L'&') {
            if (i + 1 < text.size() && text[i + 1] == L'&') {
                out += L'&';
                ++i;
            } else {
                out += L'_';
            }
        } else {
            out += c;
        }
    }
    return to_utf8(out);
}

// A frame's label has no mnemonics: the marks just go.
std::string without_marks(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;
        out += text[i];
    }
    return to_utf8(out);
}

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

void show_dialog_state(gtk_view& view, dialog& model) {
    if (model.parent())
        return;
    GtkWindow* top = GTK_WINDOW(view.outer());
    gtk_window_set_title(top, to_utf8(model.title()).c_str());
    GList* icons = nullptr;
    std::vector<gtk_object<GdkPixbuf>> kept;
    for (auto [size, pixels] :
         {std::pair{icon_size::big, big_icon_size}, std::pair{icon_size::small, small_icon_size}}) {
        if (const auto resource = model.icon(size)) {
            if (auto picture = load_icon_pixbuf(platform::os::own_module(), *resource, pixels)) {
                icons = g_list_append(icons, picture.get());
                kept.push_back(std::move(picture));
            }
        }
    }
    gtk_window_set_icon_list(top, icons);
    g_list_free(icons);
}

void show_button_state(gtk_view& view, button& model) {
    GtkWidget* widget = view.inner();
    if (model.kind() == button_kind::group_box) {
        const std::string label = without_marks(model.text());
        gtk_frame_set_label(GTK_FRAME(widget), label.empty() ? nullptr : label.c_str());
        return;
    }
    gtk_button_set_label(GTK_BUTTON(widget), gtk_text(model.text(), prefix::mnemonic).c_str());
    switch (model.kind()) {
    case button_kind::check_box:
        gtk_toggle_button_set_inconsistent(GTK_TOGGLE_BUTTON(widget),
                                           model.check() == check_state::indeterminate);
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget),
                                     model.check() == check_state::checked);
        break;
    case button_kind::radio:
        gtk_toggle_button_set_active(
            GTK_TOGGLE_BUTTON(model.check() == check_state::checked ? widget : view.radio_off()),
            TRUE);
        break;
    case button_kind::default_push:
        if (gtk_widget_get_toplevel(widget) != widget)
            gtk_widget_grab_default(widget);
        break;
    case button_kind::push:
        if (GtkWidget* top = gtk_widget_get_toplevel(widget);
            GTK_IS_WINDOW(top) && gtk_window_get_default_widget(GTK_WINDOW(top)) == widget)
            gtk_window_set_default(GTK_WINDOW(top), nullptr);
        break;
    case button_kind::group_box:
        break;
    }
}

void show_edit_state(gtk_view& view, edit& model) {
    const std::string text = gtk_text(model.text(), prefix::literal);
    if (!model.is_multiline()) {
        GtkEntry* entry = GTK_ENTRY(view.inner());
        gtk_editable_set_editable(GTK_EDITABLE(entry), !model.is_read_only());
        gtk_entry_set_max_length(entry, model.limit());
        if (text != gtk_entry_get_text(entry))
            gtk_entry_set_text(entry, text.c_str());
        return;
    }
    GtkTextView* text_view = GTK_TEXT_VIEW(view.inner());
    gtk_text_view_set_editable(text_view, !model.is_read_only());
    gtk_text_view_set_left_margin(text_view, model.margins().left);
    gtk_text_view_set_right_margin(text_view, model.margins().right);
    GtkTextBuffer* buffer = gtk_text_view_get_buffer(text_view);
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(buffer, &start, &end);
    gchar* shown = gtk_text_buffer_get_text(buffer, &start, &end, FALSE);
    if (text != shown)
        gtk_text_buffer_set_text(buffer, text.c_str(), static_cast<gint>(text.size()));
    g_free(shown);
    // The first visible line goes to the top once the text is laid out.
    GtkTextIter line;
    gtk_text_buffer_get_iter_at_line(buffer, &line, model.first_visible_line());
    GtkTextMark* top = gtk_text_buffer_get_mark(buffer, "first-visible-line");
    if (top)
        gtk_text_buffer_move_mark(buffer, top, &line);
    else
        top = gtk_text_buffer_create_mark(buffer, "first-visible-line", &line, TRUE);
    gtk_text_view_scroll_to_mark(text_view, top, 0.0, TRUE, 0.0, 0.0);
}

void show_combo_state(gtk_view& view, combo_box_ex& model) {
    GtkComboBox* combo = GTK_COMBO_BOX(view.inner());
    GtkListStore* rows = GTK_LIST_STORE(gtk_combo_box_get_model(combo));
    gtk_list_store_clear(rows);
    const auto& images = model.images();
    for (const auto& item : model.items()) {
        gtk_object<GdkPixbuf> picture;
        if (item.image >= 0 && item.image < static_cast<int>(images.size()))
            picture =
                load_icon_pixbuf(platform::os::own_module(), images[item.image], small_icon_size);
        GtkTreeIter row;
        gtk_list_store_append(rows, &row);
        gtk_list_store_set(rows, &row, 0, picture.get(), 1, to_utf8(item.text).c_str(), -1);
    }
    gtk_combo_box_set_active(combo, model.selection());
}

void show_static_state(gtk_view& view, static_control& model) {
    switch (model.kind()) {
    case static_kind::text: {
        const prefix marks = model.style() & ss_no_prefix ? prefix::literal : prefix::mnemonic;
        const std::string text = gtk_text(model.text(), marks);
        if (marks == prefix::mnemonic)
            gtk_label_set_text_with_mnemonic(GTK_LABEL(view.inner()), text.c_str());
        else
            gtk_label_set_text(GTK_LABEL(view.inner()), text.c_str());
        break;
    }
    case static_kind::icon:
    case static_kind::bitmap: {
        gtk_object<GdkPixbuf> picture;
        if (const auto resource = model.image())
            picture = model.kind() == static_kind::icon
                          ? load_icon_pixbuf(platform::os::own_module(), *resource, big_icon_size)
                          : load_bitmap_pixbuf(platform::os::own_module(), *resource);
        gtk_image_set_from_pixbuf(GTK_IMAGE(view.inner()), picture.get());
        break;
    }
    case static_kind::etched_line:
    case static_kind::white_rectangle:
    case static_kind::other_rectangle:
        gtk_widget_queue_draw(view.inner());
        break;
    }
}

void show_progress_state(gtk_view& view, progress_bar& model) {
    const auto range = model.range();
    const double span = range.high - range.low;
    const double fraction = span > 0 ? (model.position() - range.low) / span : 0.0;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(view.inner()), fraction);
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
    if (dynamic_cast<progress_bar*>(&model))
        return simple_view(model, gtk_progress_bar_new());
    GtkWidget* fixed = gtk_fixed_new();
    return std::make_unique<gtk_view>(model, fixed, fixed, fixed);
}

void show_state(gtk_view& view) {
    const gtk_view::update_scope updating(view);
    window& model = view.model();
    if (auto* shown = dynamic_cast<dialog*>(&model))
        show_dialog_state(view, *shown);
    else if (auto* shown = dynamic_cast<button*>(&model))
        show_button_state(view, *shown);
    else if (auto* shown = dynamic_cast<edit*>(&model))
        show_edit_state(view, *shown);
    else if (auto* shown = dynamic_cast<combo_box_ex*>(&model))
        show_combo_state(view, *shown);
    else if (auto* shown = dynamic_cast<static_control*>(&model))
        show_static_state(view, *shown);
    else if (auto* shown = dynamic_cast<progress_bar*>(&model))
        show_progress_state(view, *shown);
}

} // namespace platform::ui
