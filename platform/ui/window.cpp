#include "platform/ui/window.h"

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/renderer.h"
#include "platform/ui/styles.h"

#include <algorithm>

namespace platform::ui {

window::window(desktop& owner_desktop, window* parent, creation values)
    : desktop_(owner_desktop), parent_(parent), class_name_(std::move(values.class_name)),
      id_(values.id), style_(values.style), ex_style_(values.ex_style),
      text_(std::move(values.text)), rect_(values.rect) {
    if (!parent_)
        desktop_.top_level_created(*this);
}

window::~window() {
    // Children go first, so that the renderer never sees a child outlive its parent.
    while (!children_.empty())
        children_.pop_back();
    if (parent_) {
        if (auto* top = dynamic_cast<dialog*>(&root());
            top && top->focus() && top->focus()->is_within(*this))
            top->clear_focus();
    }
    if (!parent_)
        desktop_.top_level_destroyed(*this);
    desktop_.view().window_destroyed(*this);
}

void window::announce(window& created) {
    created.desktop_.view().window_created(created);
}

void window::changed(window_change change) {
    desktop_.view().window_changed(*this, change);
}

void window::set_style(std::uint32_t style) {
    style_ = style;
    changed(window_change::style);
}

void window::set_ex_style(std::uint32_t ex_style) {
    ex_style_ = ex_style;
    changed(window_change::style);
}

void window::set_text(std::wstring text) {
    text_ = std::move(text);
    changed(window_change::text);
}

void window::set_rect(const ui::rect& rect) {
    rect_ = rect;
    changed(window_change::rect);
}

void window::move_to(int left, int top) {
    set_rect({left, top, left + rect_.width(), top + rect_.height()});
}

void window::resize(int width, int height) {
    set_rect({rect_.left, rect_.top, rect_.left + width, rect_.top + height});
}

ui::rect window::client_rect() const {
    // A top-level window's rectangle is already its client area: the window manager draws the
    // frame around it.
    if (!parent_)
        return {0, 0, rect_.width(), rect_.height()};
    int inset = 0;
    if (ex_style_ & ws_ex::client_edge)
        inset += 2;
    if (style_ & ws::border)
        inset += 1;
    const int width = std::max(0, rect_.width() - 2 * inset);
    const int height = std::max(0, rect_.height() - 2 * inset);
    return {0, 0, width, height};
}

bool window::is_shown() const {
    for (const window* w = this; w; w = w->parent_) {
        if (!w->is_visible())
            return false;
    }
    return true;
}

void window::set_style_bits(std::uint32_t bits, bool on, window_change change) {
    const std::uint32_t style = on ? (style_ | bits) : (style_ & ~bits);
    if (style == style_)
        return;
    style_ = style;
    changed(change);
}

void window::show() {
    set_style_bits(ws::visible, true, window_change::visibility);
}

void window::hide() {
    set_style_bits(ws::visible, false, window_change::visibility);
    // A hidden window cannot keep the focus (Windows hands it to the parent; the model drops it).
    if (auto* top = dynamic_cast<dialog*>(&root());
        top && top->focus() && !top->focus()->is_shown())
        top->clear_focus();
}

void window::enable() {
    set_style_bits(ws::disabled, false, window_change::enabled);
}

void window::disable() {
    set_style_bits(ws::disabled, true, window_change::enabled);
    // EnableWindow(FALSE) on the focus window leaves no focus.
    if (auto* top = dynamic_cast<dialog*>(&root());
        top && top->focus() && !top->focus()->can_take_focus())
        top->clear_focus();
}

window* window::child(int id) const {
    for (const auto& c : children_) {
        if (c->id() == id)
            return c.get();
    }
    return nullptr;
}

window& window::root() {
    window* w = this;
    while (w->parent_)
        w = w->parent_;
    return *w;
}

bool window::is_within(const window& ancestor) const {
    for (const window* w = this; w; w = w->parent_) {
        if (w == &ancestor)
            return true;
    }
    return false;
}

bool window::can_take_focus() const {
    if (!is_shown())
        return false;
    for (const window* w = this; w; w = w->parent_) {
        if (!w->is_enabled())
            return false;
    }
    return true;
}

} // namespace platform::ui
