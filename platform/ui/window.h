#pragma once
// A window of the model: identity, styles, text, rectangle, visibility, enabled state, parent,
// children and owner. Every change is reported to the desktop's renderer.

#include "platform/ui/geometry.h"
#include "platform/ui/styles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::ui {

class desktop;
class dialog;

// What changed about a window, as the renderer is told.
enum class window_change { text, rect, visibility, enabled, style, state, focus };

class window {
public:
    struct creation {
        std::wstring class_name;
        int id = 0;
        std::uint32_t style = 0;
        std::uint32_t ex_style = 0;
        std::wstring text;
        // Relative to the parent's client area; a top-level window's is on the screen.
        ui::rect rect;
    };

    window(desktop& owner_desktop, window* parent, creation values);
    virtual ~window();
    window(const window&) = delete;
    window& operator=(const window&) = delete;

    desktop& owning_desktop() const { return desktop_; }
    int id() const { return id_; }
    const std::wstring& class_name() const { return class_name_; }

    std::uint32_t style() const { return style_; }
    void set_style(std::uint32_t style);
    std::uint32_t ex_style() const { return ex_style_; }
    void set_ex_style(std::uint32_t ex_style);

    const std::wstring& text() const { return text_; }
    // SetWindowTextW.
    virtual void set_text(std::wstring text);

    const ui::rect& rect() const { return rect_; }
    // SetWindowPos without repainting: only the rectangle changes.
    void set_rect(const ui::rect& rect);
    void move_to(int left, int top);
    void resize(int width, int height);
    // The client area in the window's own coordinates: a child's rectangle less its borders; a
    // top-level window's whole rectangle.
    ui::rect client_rect() const;

    // The window's own WS_VISIBLE; is_shown also needs every ancestor visible (IsWindowVisible).
    bool is_visible() const { return (style_ & ws::visible) != 0; }
    bool is_shown() const;
    void show();
    void hide();

    bool is_enabled() const { return (style_ & ws::disabled) == 0; }
    void enable();
    void disable();

    window* parent() const { return parent_; }
    // The window this one belongs to without being inside it (a modal dialog's owner).
    window* owner() const { return owner_; }
    void set_owner(window* owner) { owner_ = owner; }

    const std::vector<std::unique_ptr<window>>& children() const { return children_; }
    // GetDlgItem: the direct child with this id.
    window* child(int id) const;
    // The top-level window this one is inside (itself when it has no parent).
    window& root();

    // Whether this is the window or one of its descendants.
    bool is_within(const window& ancestor) const;
    // Whether the window can take the keyboard focus: shown, and enabled along with its parents.
    bool can_take_focus() const;

    template <class Window> Window& adopt(std::unique_ptr<Window> child) {
        Window& added = *child;
        children_.push_back(std::move(child));
        announce(added);
        return added;
    }

protected:
    void changed(window_change change);

private:
    static void announce(window& created);
    void set_style_bits(std::uint32_t bits, bool on, window_change change);

    desktop& desktop_;
    window* parent_;
    window* owner_ = nullptr;
    std::wstring class_name_;
    int id_;
    std::uint32_t style_;
    std::uint32_t ex_style_;
    std::wstring text_;
    ui::rect rect_;
    std::vector<std::unique_ptr<window>> children_;
};

} // namespace platform::ui
