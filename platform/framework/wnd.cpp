#include "platform/framework/wnd.h"

#include "platform/ui/button.h"
#include "platform/ui/dialog.h"
#include "platform/ui/focus.h"
#include "platform/ui/styles.h"

#include <algorithm>

namespace platform::framework {

namespace ui = platform::ui;

namespace {

struct point {
    int x = 0, y = 0;
};

// Where the window's client area starts on the screen: a child's rectangle is in its parent's
// client coordinates, a top-level window's on the screen.
point client_origin(const ui::window& target) {
    const ui::rect client = target.client_rect();
    point origin{target.rect().left + (target.rect().width() - client.width()) / 2,
                 target.rect().top + (target.rect().height() - client.height()) / 2};
    if (const ui::window* parent = target.parent()) {
        const point parent_origin = client_origin(*parent);
        origin.x += parent_origin.x;
        origin.y += parent_origin.y;
    }
    return origin;
}

void offset(rect& area, int dx, int dy) {
    area.left += dx;
    area.right += dx;
    area.top += dy;
    area.bottom += dy;
}

} // namespace

CWnd::~CWnd() {
    Detach();
}

bool CWnd::Attach(ui::window& target) {
    return attach_within(target, nullptr);
}

bool CWnd::attach_within(ui::window& target, CWnd* parent) {
    if (window_)
        return false;
    window_ = &target;
    attached_parent_ = parent;
    if (parent)
        parent->attached_children_.push_back(this);
    return true;
}

void CWnd::Detach() {
    while (!attached_children_.empty())
        attached_children_.back()->Detach();
    temporaries_.clear();
    if (attached_parent_) {
        std::erase(attached_parent_->attached_children_, this);
        attached_parent_ = nullptr;
    }
    window_ = nullptr;
}

bool CWnd::SubclassDlgItem(int id, CWnd& parent) {
    ui::window* control = parent.window_ ? parent.window_->child(id) : nullptr;
    return control && attach_within(*control, &parent);
}

int CWnd::GetDlgCtrlID() const {
    return window_ ? window_->id() : 0;
}

CWnd* CWnd::GetDlgItem(int id) const {
    ui::window* control = window_ ? window_->child(id) : nullptr;
    if (!control)
        return nullptr;
    auto& wrapper = temporaries_[control];
    if (!wrapper) {
        wrapper = std::make_unique<CWnd>();
        wrapper->window_ = control;
    }
    return wrapper.get();
}

void CWnd::SetWindowText(std::wstring text) {
    if (window_)
        window_->set_text(std::move(text));
}

std::wstring CWnd::GetWindowText() const {
    return window_ ? window_->text() : std::wstring{};
}

int CWnd::GetWindowTextLength() const {
    return window_ ? static_cast<int>(window_->text().size()) : 0;
}

void CWnd::SetIcon(std::uint16_t icon_resource, bool big_icon) {
    if (auto* target = model<ui::dialog>())
        target->set_icon(big_icon ? ui::icon_size::big : ui::icon_size::small, icon_resource);
}

bool CWnd::EnableWindow(bool enable) {
    if (!window_)
        return false;
    const bool was_disabled = !window_->is_enabled();
    if (enable)
        window_->enable();
    else
        window_->disable();
    return was_disabled;
}

bool CWnd::IsWindowEnabled() const {
    return window_ && window_->is_enabled();
}

bool CWnd::ShowWindow(int command) {
    if (!window_)
        return false;
    const bool was_visible = window_->is_visible();
    if (command == SW_HIDE)
        window_->hide();
    else
        window_->show();
    return was_visible;
}

bool CWnd::IsWindowVisible() const {
    return window_ && window_->is_shown();
}

bool CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, std::uint32_t flags) {
    if (!window_)
        return false;
    const rect now = window_->rect();
    if (flags & SWP_NOMOVE) {
        x = now.left;
        y = now.top;
    }
    if (flags & SWP_NOSIZE) {
        cx = now.width();
        cy = now.height();
    }
    if (rect{x, y, x + cx, y + cy} != now)
        window_->set_rect({x, y, x + cx, y + cy});
    if (flags & SWP_SHOWWINDOW)
        window_->show();
    if (flags & SWP_HIDEWINDOW)
        window_->hide();
    return true;
}

void CWnd::GetWindowRect(rect* area) const {
    if (!window_)
        return;
    *area = window_->rect();
    if (const ui::window* parent = window_->parent()) {
        const point origin = client_origin(*parent);
        offset(*area, origin.x, origin.y);
    }
}

void CWnd::GetClientRect(rect* area) const {
    if (window_)
        *area = window_->client_rect();
}

void CWnd::ScreenToClient(rect* area) const {
    if (!window_)
        return;
    const point origin = client_origin(*window_);
    offset(*area, -origin.x, -origin.y);
}

void CWnd::ClientToScreen(rect* area) const {
    if (!window_)
        return;
    const point origin = client_origin(*window_);
    offset(*area, origin.x, origin.y);
}

bool CWnd::SetFocus() {
    return window_ && ui::set_focus(*window_);
}

void CWnd::CheckDlgButton(int id, int check) {
    auto* target = window_ ? dynamic_cast<ui::button*>(window_->child(id)) : nullptr;
    if (!target)
        return;
    target->set_check(check == 1   ? ui::check_state::checked
                      : check == 2 ? ui::check_state::indeterminate
                                   : ui::check_state::unchecked);
}

int CWnd::IsDlgButtonChecked(int id) const {
    const auto* target = window_ ? dynamic_cast<const ui::button*>(window_->child(id)) : nullptr;
    if (!target)
        return 0;
    switch (target->check()) {
    case ui::check_state::checked:
        return 1;
    case ui::check_state::indeterminate:
        return 2;
    default:
        return 0;
    }
}

void CWnd::ReplaceSel(std::wstring_view text) {
    if (auto* target = model<ui::edit>())
        target->replace_selection(text);
}

void CWnd::SetSel(int start, int end) {
    if (auto* target = model<ui::edit>())
        target->set_selection(start, end);
}

ui::edit_selection CWnd::GetSel() const {
    const auto* target = model<ui::edit>();
    return target ? target->selection() : ui::edit_selection{};
}

void CWnd::LineScroll(int lines) {
    if (auto* target = model<ui::edit>())
        target->scroll_lines(lines);
}

ui::edit_margins CWnd::GetMargins() const {
    const auto* target = model<ui::edit>();
    return target ? target->margins() : ui::edit_margins{};
}

void CWnd::SetReadOnly(bool read_only) {
    if (auto* target = model<ui::edit>())
        target->set_access(read_only ? ui::edit_access::read_only : ui::edit_access::editable);
}

void CWnd::LimitText(int characters) {
    if (auto* target = model<ui::edit>())
        target->set_limit(characters);
}

ui::progress_range CWnd::SetRange32(int low, int high) {
    auto* target = model<ui::progress_bar>();
    return target ? target->set_range({low, high}) : ui::progress_range{0, 0};
}

int CWnd::SetPos(int position) {
    auto* target = model<ui::progress_bar>();
    return target ? target->set_position(position) : 0;
}

void CWnd::OnSysCommand(std::uint32_t command) {
    if (auto* target = model<ui::dialog>())
        target->default_system_command(command);
}

void CWnd::OnInitMenuPopup(CMenu*, unsigned, bool) {}

CMenu* CWnd::GetSystemMenu(bool) const {
    auto* target = model<ui::dialog>();
    if (!target)
        return nullptr;
    system_menu_ = std::make_unique<CMenu>(target->menu());
    return system_menu_.get();
}

bool CWnd::IsIconic() const {
    const auto* target = model<ui::dialog>();
    return target && target->is_minimized();
}

void CWnd::DispatchInitSystemMenu(ui::system_menu& menu) {
    CMenu popup(menu);
    const message_map_entry* entry =
        find_message_entry(*GetMessageMap(), message_kind::init_menu_popup);
    if (entry)
        (this->*entry->on_init_menu_popup)(&popup, 0, true);
    else
        OnInitMenuPopup(&popup, 0, true);
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {}

bool CWnd::OnCmdMsg(int id, std::uint16_t code) {
    const message_map_entry* entry = find_command_entry(*GetMessageMap(), id, code);
    if (!entry)
        return false;
    (this->*entry->on_command)();
    return true;
}

bool CWnd::DispatchSysCommand(std::uint32_t command) {
    const message_map_entry* entry =
        find_message_entry(*GetMessageMap(), message_kind::sys_command);
    if (!entry)
        return false;
    (this->*entry->on_sys_command)(command);
    return true;
}

bool CWnd::DispatchGetMinMaxInfo(MINMAXINFO* info) {
    const message_map_entry* entry =
        find_message_entry(*GetMessageMap(), message_kind::get_min_max_info);
    if (!entry)
        return false;
    (this->*entry->on_get_min_max_info)(info);
    return true;
}

const message_map* CWnd::GetMessageMap() const {
    return &own_messages();
}

const message_map& CWnd::own_messages() {
    static const message_map map{nullptr, {}};
    return map;
}

} // namespace platform::framework
