#include "platform/ui/gtk_renderer.h"

#include "platform/os/locale.h"
#include "platform/os/unicode.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gtk_input.h"
#include "platform/ui/gtk_widget_state.h"
#include "platform/ui/gtk_widgets.h"
#include "platform/ui/message_box.h"
#include "platform/ui/message_box_buttons.h"

#include <algorithm>
#include <string>

namespace platform::ui {

namespace {

// The picture of the box's icon, from the desktop's icon theme; none without an icon.
const char* icon_name_of(std::uint32_t icon) {
    switch (icon) {
    case mb::icon_hand:
        return "dialog-error-symbolic";
    case mb::icon_question:
        return "dialog-question-symbolic";
    case mb::icon_exclamation:
        return "dialog-warning-symbolic";
    case mb::icon_asterisk:
        return "dialog-information-symbolic";
    default:
        return nullptr;
    }
}

// A button text with its mnemonic as GTK marks it ('_' for '&').
std::string gtk_label_of(int answer) {
    std::string label = platform::os::to_utf8(
        message_box_button_text(answer, platform::os::user_default_lang_id()));
    std::replace(label.begin(), label.end(), '&', '_');
    return label;
}

// The box's picture beside its text, with the spacing of a Windows message box.
void add_message(GtkDialog* shown, const message_box& box) {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 14);
    gtk_container_set_border_width(GTK_CONTAINER(row), 14);
    if (const char* icon = icon_name_of(box.icon())) {
        GtkWidget* picture = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
        gtk_widget_set_valign(picture, GTK_ALIGN_START);
        gtk_box_pack_start(GTK_BOX(row), picture, FALSE, FALSE, 0);
    }
    GtkWidget* text = gtk_label_new(platform::os::to_utf8(box.text()).c_str());
    gtk_label_set_line_wrap(GTK_LABEL(text), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(text), 60);
    gtk_label_set_xalign(GTK_LABEL(text), 0.0);
    gtk_widget_set_valign(text, GTK_ALIGN_CENTER);
    gtk_box_pack_start(GTK_BOX(row), text, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(shown)), row, TRUE, TRUE, 0);
    gtk_widget_show_all(row);
}

// WS_EX_LAYOUTRTL of a dialog holds for everything inside it.
bool laid_out_right_to_left(const window& shown) {
    for (const window* w = &shown; w; w = w->parent()) {
        if (const auto* holder = dynamic_cast<const dialog*>(w); holder && holder->right_to_left())
            return true;
    }
    return false;
}

// The widget that takes the keyboard focus for a control: itself, or for a combo box the button
// inside it.
GtkWidget* focus_taker(GtkWidget* widget) {
    if (gtk_widget_get_can_focus(widget) || !GTK_IS_CONTAINER(widget))
        return widget;
    GtkWidget* found = nullptr;
    gtk_container_forall(
        GTK_CONTAINER(widget),
        [](GtkWidget* child, gpointer result) {
            auto& taker = *static_cast<GtkWidget**>(result);
            if (!taker && gtk_widget_get_can_focus(focus_taker(child)))
                taker = focus_taker(child);
        },
        &found);
    return found ? found : widget;
}

} // namespace

gtk_renderer::~gtk_renderer() {
    // Children first, as the model destroys them, so that no widget outlives its parent's view.
    while (!views_.empty()) {
        auto leaf = std::find_if(views_.begin(), views_.end(), [this](const auto& entry) {
            return std::none_of(entry.first->children().begin(), entry.first->children().end(),
                                [this](const auto& child) { return views_.contains(child.get()); });
        });
        views_.erase(leaf);
    }
}

gtk_view* gtk_renderer::view_of(const window& shown) const {
    const auto found = views_.find(&shown);
    return found == views_.end() ? nullptr : found->second.get();
}

void gtk_renderer::window_created(window& created) {
    auto made = make_view(created);
    gtk_view& view = *made;
    views_[&created] = std::move(made);
    if (const window* parent = created.parent()) {
        if (gtk_view* holder = view_of(*parent); holder && holder->container())
            gtk_fixed_put(GTK_FIXED(holder->container()), view.outer(), 0, 0);
    } else if (window* owner = created.owner()) {
        if (gtk_view* owning = view_of(owner->root()))
            gtk_window_set_transient_for(GTK_WINDOW(view.outer()), GTK_WINDOW(owning->outer()));
    }
    connect_input(view);
    refresh(view);
}

void gtk_renderer::window_changed(window& changed, window_change change) {
    gtk_view* view = view_of(changed);
    if (!view)
        return;
    if (change == window_change::focus) {
        if (const auto* top = dynamic_cast<const dialog*>(&changed))
            show_focus(*top);
        return;
    }
    refresh(*view);
    if (change == window_change::rect || change == window_change::style)
        refresh_children(changed);
}

void gtk_renderer::window_destroyed(window& destroyed) {
    views_.erase(&destroyed);
}

void gtk_renderer::cursor_changed(cursor_shape shape) {
    cursor_ = shape;
    for (auto& [shown, view] : views_) {
        if (!shown->parent())
            show_cursor(*view);
    }
}

modal_turn gtk_renderer::run_modal_turn(dialog&) {
    gtk_main_iteration_do(TRUE);
    return modal_turn::handled;
}

int gtk_renderer::show_message_box(const message_box& box) {
    GtkWindow* parent = nullptr;
    if (window* owner = box.owner()) {
        if (gtk_view* view = view_of(owner->root()))
            parent = GTK_WINDOW(view->outer());
    }
    GtkWidget* shown = gtk_dialog_new();
    gtk_window_set_transient_for(GTK_WINDOW(shown), parent);
    gtk_window_set_modal(GTK_WINDOW(shown), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(shown), FALSE);
    gtk_window_set_title(GTK_WINDOW(shown), platform::os::to_utf8(box.caption()).c_str());
    add_message(GTK_DIALOG(shown), box);
    const std::vector<int> answers = box.answers();
    for (int answer : answers)
        gtk_dialog_add_button(GTK_DIALOG(shown), gtk_label_of(answer).c_str(), answer);
    gtk_dialog_set_default_response(GTK_DIALOG(shown), box.default_answer());
    // As on Windows, the default button has the focus, so Enter presses it.
    if (GtkWidget* preset =
            gtk_dialog_get_widget_for_response(GTK_DIALOG(shown), box.default_answer()))
        gtk_widget_grab_focus(preset);
    if (box.reads_right_to_left())
        gtk_widget_set_direction(shown, GTK_TEXT_DIR_RTL);
    const int response = gtk_dialog_run(GTK_DIALOG(shown));
    gtk_widget_destroy(shown);
    if (response >= 0)
        return response;
    // Closing the box answers as Esc does: Cancel, or the only button.
    if (std::find(answers.begin(), answers.end(), idcancel) != answers.end())
        return idcancel;
    return answers.size() == 1 ? answers.front() : box.default_answer();
}

void gtk_renderer::pump_messages() {
    while (gtk_events_pending())
        gtk_main_iteration_do(FALSE);
}

void gtk_renderer::refresh(gtk_view& view) {
    const window& model = view.model();
    const auto direction = laid_out_right_to_left(model) ? GTK_TEXT_DIR_RTL : GTK_TEXT_DIR_LTR;
    gtk_widget_set_direction(view.outer(), direction);
    gtk_widget_set_direction(view.inner(), direction);
    place(view);
    // A top-level window stays sensitive while its owned modal dialog runs: the model ignores
    // its input, and its controls are not drawn grayed, as on Windows.
    if (model.parent())
        gtk_widget_set_sensitive(view.outer(), model.is_enabled());
    show_state(view);
    gtk_widget_set_visible(view.outer(), model.is_visible());
    if (!model.parent()) {
        show_cursor(view);
        if (const auto* top = dynamic_cast<const dialog*>(&model))
            show_focus(*top);
    }
}

void gtk_renderer::refresh_children(const window& parent) {
    for (const auto& child : parent.children()) {
        if (gtk_view* view = view_of(*child))
            refresh(*view);
        refresh_children(*child);
    }
}

// A child's rectangle is in its parent's client area, mirrored when the parent lays out right
// to left.
void gtk_renderer::place(gtk_view& view) {
    const window& model = view.model();
    const ui::rect& at = model.rect();
    const int width = std::max(0, at.width());
    const int height = std::max(0, at.height());
    if (!model.parent()) {
        gtk_window_move(GTK_WINDOW(view.outer()), at.left, at.top);
        gtk_widget_set_size_request(view.container(), width, height);
        return;
    }
    gtk_view* holder = view_of(*model.parent());
    if (!holder || !holder->container())
        return;
    const int left = laid_out_right_to_left(*model.parent())
                         ? model.parent()->rect().width() - at.right
                         : at.left;
    // A combo box's height is its dropped list's; the closed box has the height of a line.
    const bool dropped_height = dynamic_cast<const combo_box_ex*>(&model) != nullptr;
    gtk_widget_set_size_request(view.outer(), width, dropped_height ? -1 : height);
    gtk_fixed_move(GTK_FIXED(holder->container()), view.outer(), left, at.top);
}

void gtk_renderer::show_focus(const dialog& top) {
    gtk_view* top_view = view_of(top);
    if (!top_view || top.parent())
        return;
    gtk_view* focused = top.focus() ? view_of(*top.focus()) : nullptr;
    if (!focused) {
        gtk_window_set_focus(GTK_WINDOW(top_view->outer()), nullptr);
        return;
    }
    const gtk_view::update_scope updating(*focused);
    gtk_widget_grab_focus(focus_taker(focused->inner()));
}

void gtk_renderer::show_cursor(gtk_view& top) {
    GdkWindow* surface = gtk_widget_get_window(top.outer());
    if (!surface)
        return;
    if (cursor_ == cursor_shape::arrow) {
        gdk_window_set_cursor(surface, nullptr);
        return;
    }
    gtk_object<GdkCursor> watch(
        gdk_cursor_new_for_display(gdk_window_get_display(surface), GDK_WATCH));
    gdk_window_set_cursor(surface, watch.get());
}

} // namespace platform::ui
