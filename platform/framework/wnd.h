#pragma once
// CWnd: a class-library object over a window of the model. It does not own the window; it is
// attached to one (a dialog it created, or a control of a dialog) and detached when that window
// goes.

#include "platform/framework/menu.h"
#include "platform/framework/message_map.h"
#include "platform/ui/edit.h"
#include "platform/ui/geometry.h"
#include "platform/ui/progress_bar.h"
#include "platform/ui/window.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform::framework {

using platform::ui::rect;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOW = 5;

// SetWindowPos flags.
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;

class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The model window; none while the object is not attached.
    platform::ui::window* GetSafeHwnd() const { return window_; }

    // Attaches the object to a window; false when it is attached already.
    bool Attach(platform::ui::window& target);
    // Detaches the object, and the permanent objects of the window's descendants, from their
    // windows.
    virtual void Detach();
    // Attaches the object to the dialog's child control with this id; false when there is none
    // or the object is attached already.
    bool SubclassDlgItem(int id, CWnd& parent);

    int GetDlgCtrlID() const;
    // The object of the window this one's window is inside, while both are attached (a page's
    // frame); none for a top-level window.
    CWnd* GetParent() const { return attached_parent_; }
    // The direct child with this id, as a temporary object that lives as long as this one; none
    // when there is no such child.
    CWnd* GetDlgItem(int id) const;

    void SetWindowText(std::wstring text);
    // WM_SETICON with an icon resource's ordinal, the big or the small icon of a dialog.
    void SetIcon(std::uint16_t icon_resource, bool big_icon);
    std::wstring GetWindowText() const;
    int GetWindowTextLength() const;

    // Whether the window was disabled before.
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    // Whether the window was visible before.
    bool ShowWindow(int command);
    bool IsWindowVisible() const;

    // Moves and sizes the window (client coordinates of its parent); SWP_NOMOVE and SWP_NOSIZE
    // keep the position or the size. Without a display, redrawing changes nothing, so the flags
    // about drawing, activation and z-order only matter to the renderers.
    bool SetWindowPos(const CWnd* insert_after, int x, int y, int cx, int cy, std::uint32_t flags);
    // The window's rectangle on the screen.
    void GetWindowRect(rect* area) const;
    // The client area, at the origin.
    void GetClientRect(rect* area) const;
    // Screen coordinates to this window's client coordinates.
    void ScreenToClient(rect* area) const;
    void ClientToScreen(rect* area) const;

    // The keyboard focus; false when the window cannot take it.
    bool SetFocus();

    // Check boxes and radio buttons (BM_SETCHECK / BM_GETCHECK): 0 unchecked, 1 checked,
    // 2 indeterminate.
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;

    // Edit controls. A window of another class ignores them, as it ignores the messages.
    void ReplaceSel(std::wstring_view text);
    void SetSel(int start, int end);
    platform::ui::edit_selection GetSel() const;
    void LineScroll(int lines);
    platform::ui::edit_margins GetMargins() const;
    void SetReadOnly(bool read_only = true);
    void LimitText(int characters);

    // Progress bars (PBM_SETRANGE32, PBM_SETPOS): the earlier range and position.
    platform::ui::progress_range SetRange32(int low, int high);
    int SetPos(int position);

    // The window's default processing of WM_SYSCOMMAND: Close ends a dialog as its Cancel
    // button does, Minimize and Restore change its minimized state.
    virtual void OnSysCommand(std::uint32_t command);
    // The default processing of WM_INITMENUPOPUP leaves the menu as it is.
    virtual void OnInitMenuPopup(CMenu* popup, unsigned index, bool system_menu);

    // GetSystemMenu(FALSE): the dialog's system menu, as a temporary object that lives as long
    // as this one; none for a window without one.
    CMenu* GetSystemMenu(bool revert = false) const;
    // IsIconic
    bool IsIconic() const;
    // The default processing of WM_GETMINMAXINFO: the renderer has proposed the values already.
    virtual void OnGetMinMaxInfo(MINMAXINFO* info);

    // Runs the handler the message map has for a command; false when it has none.
    bool OnCmdMsg(int id, std::uint16_t code);
    // Runs the WM_SYSCOMMAND handler of the message map; false when it has none.
    bool DispatchSysCommand(std::uint32_t command);
    // Runs the WM_GETMINMAXINFO handler of the message map; false when it has none.
    bool DispatchGetMinMaxInfo(MINMAXINFO* info);
    // Runs the WM_INITMENUPOPUP handler of the message map for the system menu, else the
    // default processing.
    void DispatchInitSystemMenu(platform::ui::system_menu& menu);

protected:
    virtual const message_map* GetMessageMap() const;
    static const message_map& own_messages();

    template <class Control> Control* model() const { return dynamic_cast<Control*>(window_); }

    // Attaches the object to a window within the parent object's window (none for a top-level
    // window), so that it is detached along with the parent.
    bool attach_within(platform::ui::window& target, CWnd* parent);

private:
    platform::ui::window* window_ = nullptr;
    // The object whose window contains this one's, while both are attached.
    CWnd* attached_parent_ = nullptr;
    std::vector<CWnd*> attached_children_;
    mutable std::map<const platform::ui::window*, std::unique_ptr<CWnd>> temporaries_;
    mutable std::unique_ptr<CMenu> system_menu_;
};

} // namespace platform::framework
