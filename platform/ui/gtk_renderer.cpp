#include "platform/ui/gtk_renderer.h"

#include "platform/os/unicode.h"
#include "platform/ui/combo_box_ex.h"
#include "platform/ui/dialog.h"
#include "platform/ui/gtk_input.h"
#include "platform/ui/gtk_widget_state.h"
#include "platform/ui/gtk_widgets.h"
#include "platform/ui/message_box.h"

#include <algorithm>

namespace platform::ui {

namespace {

GtkMessageType message_type_of(std::uint32_t icon) {
    switch (icon) {
    case mb::icon_hand:
        return GTK_MESSAGE_ERROR;
    case mb::icon_question:
        return GTK_MESSAGE_QUESTION;
    case mb::icon_exclamation:
        return GTK_MESSAGE_WARNING;
    case mb::icon_asterisk:
        return GTK_MESSAGE_INFO;
    default:
        return GTK_MESSAGE_OTHER;
    }
}

// The system's button texts of message boxes.
const char* button_label(int answer) {
    switch (answer) {
    case idok:
        return "OK";
    case idcancel:
        return "Cancel";
    case idabort:
        return "Abort";
    case idretry:
        return "Retry";
    case idignore:
        return "Ignore";
    case idyes:
        return "Yes";
    case idno:
        return "No";
    case idtryagain:
        return "Try Again";
    case idcontinue:
        return "Continue";
    default:
        return "OK";
    }
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
    GtkWidget* shown =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, message_type_of(box.icon()),
                               GTK_BUTTONS_NONE, "%s", platform::os::to_utf8(box.text()).c_str());
    gtk_window_set_title(GTK_WINDOW(shown), platform::os::to_utf8(box.caption()).c_str());
    const std::vector<int> answers = box.answers();
    for (int answer : answers)
        gtk_dialog_add_button(GTK_DIALOG(shown), button_label(answer), answer);
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
