#include "platform/ui/gtk_widget_state.h"

#include "platform/os/resources.h"
#include "platform/os/unicode.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/gtk_folder_tree.h"
#include "platform/ui/gtk_pictures.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/static_control.h"
#include "platform/ui/styles.h"

#include <string>
#include <vector>

namespace platform::ui {

namespace {

using platform::os::to_utf8;

// Icons as GetSystemMetrics gives them: SM_CXICON and SM_CXSMICON.
constexpr int big_icon_size = 32;
constexpr int small_icon_size = 16;

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
    GdkWindow* surface = gtk_widget_get_window(view.outer());
    const bool iconified =
        surface && (gdk_window_get_state(surface) & GDK_WINDOW_STATE_ICONIFIED) != 0;
    if (model.is_minimized() && !iconified)
        gtk_window_iconify(top);
    else if (!model.is_minimized() && iconified)
        gtk_window_deiconify(top);
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
    const auto images = model.images();
    for (const auto& item : model.items()) {
        gtk_object<GdkPixbuf> picture;
        if (images && item.image >= 0 && item.image < static_cast<int>(images->icons.size()))
            picture = load_icon_pixbuf(platform::os::own_module(), images->icons[item.image],
                                       small_icon_size);
        GtkTreeIter row;
        gtk_list_store_append(rows, &row);
        gtk_list_store_set(rows, &row, 0, picture.get(), 1, to_utf8(item.text).c_str(), -1);
    }
    gtk_combo_box_set_active(combo, model.selection());
    // CB_SETDROPPEDWIDTH wider than the box: the list takes the width its items need, which is
    // what the dropped width is measured for.
    gtk_combo_box_set_popup_fixed_width(combo, model.dropped_width() <= model.rect().width());
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
    else if (auto* shown = dynamic_cast<folder_tree*>(&model))
        show_folder_tree_state(view, *shown);
}

} // namespace platform::ui
