#pragma once
// A dialog window: title (its text), icons, keyboard focus, default button, system menu,
// right-to-left layout, the handler its controls notify, and the end of its modal loop.

#include "platform/ui/min_max_info.h"
#include "platform/ui/system_menu.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <optional>

namespace platform::ui {

class dialog;

// Receives what a dialog's controls and keys send it.
class dialog_handler {
public:
    virtual ~dialog_handler() = default;
    // WM_COMMAND: a control's notification, or a command (IDOK for Enter, IDCANCEL for Esc).
    virtual void command(dialog& target, int id, std::uint16_t notification) = 0;
    // WM_SYSCOMMAND: true when handled; otherwise Close becomes IDCANCEL.
    virtual bool system_command(dialog& target, std::uint32_t command) = 0;
    // WM_GETMINMAXINFO: may change the renderer's proposal.
    virtual void get_min_max_info(dialog&, min_max_info&) {}
    // WM_INITMENUPOPUP of the system menu, just before it opens: may change its items.
    virtual void init_system_menu(dialog&, system_menu&) {}
};

enum class icon_size { big, small };

class dialog : public window {
public:
    dialog(desktop& owner_desktop, window* parent, creation values);

    void set_handler(dialog_handler* handler) { handler_ = handler; }

    const std::wstring& title() const { return text(); }

    // WM_SETICON with an icon resource's ordinal (none removes it).
    void set_icon(icon_size size, std::optional<std::uint16_t> icon_resource);
    std::optional<std::uint16_t> icon(icon_size size) const;

    // The control with the keyboard focus within this top-level dialog and its child dialogs.
    window* focus() const { return focus_; }
    // SetFocus: false, and the focus unchanged, for a window outside this dialog or one that is
    // hidden or disabled.
    bool set_focus(window& target);
    void clear_focus();

    // DM_GETDEFID: the default button's id, none when there is none.
    std::optional<int> default_id() const { return default_id_; }
    // DM_SETDEFID: the old default push button becomes a push button, the new one (a push
    // button with this id among the dialog's descendants) a default push button.
    void set_default_id(int id);

    system_menu& menu() { return menu_; }
    const system_menu& menu() const { return menu_; }

    bool right_to_left() const;

    // WM_COMMAND to the handler.
    void command(int id, std::uint16_t notification);
    // WM_SYSCOMMAND: the handler first, then the default processing.
    void system_command(std::uint32_t command);
    // DefWindowProc's WM_SYSCOMMAND: Close sends IDCANCEL; Minimize and Restore change the
    // minimized state.
    void default_system_command(std::uint32_t command);

    // IsIconic.
    bool is_minimized() const { return minimized_; }
    // The window manager minimized or restored the window.
    void set_minimized(bool minimized);

    // The user opens the system menu: the handler gets WM_INITMENUPOPUP, then the menu shows.
    const system_menu& open_system_menu();
    // The user picks a command of the system menu, opening it first; false when the menu has no
    // such item or it is grayed.
    bool choose_system_menu_item(std::uint32_t command);

    // WM_GETMINMAXINFO: the renderer's proposal (from the screen it shows the dialog on) as the
    // handler leaves it.
    min_max_info query_min_max_info(min_max_info proposal);

    // EndDialog: the modal loop ends with this result at its next turn.
    void end(std::intptr_t result);
    bool ended() const { return ended_; }
    std::intptr_t result() const { return result_; }
    // Makes the dialog ready for another modal run.
    void restart() { ended_ = false; }

private:
    dialog_handler* handler_ = nullptr;
    std::optional<std::uint16_t> big_icon_;
    std::optional<std::uint16_t> small_icon_;
    window* focus_ = nullptr;
    std::optional<int> default_id_;
    system_menu menu_;
    bool ended_ = false;
    bool minimized_ = false;
    std::intptr_t result_ = 0;
};

// The descendant with this id, searched depth first, shown windows before hidden ones (the
// control of the page on display when several pages reuse an id).
window* find_control(window& ancestor, int id);

} // namespace platform::ui
