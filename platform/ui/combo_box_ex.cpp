#include "platform/ui/combo_box_ex.h"

#include "platform/ui/dialog.h"
#include "platform/ui/focus.h"
#include "platform/ui/styles.h"

#include <algorithm>

namespace platform::ui {

combo_box_ex::combo_box_ex(desktop& owner_desktop, window* parent, creation values)
    : window(owner_desktop, parent, std::move(values)) {}

int combo_box_ex::insert_item(int index, combo_item item) {
    if (index == -1)
        index = count();
    if (index < 0 || index > count())
        return -1;
    items_.insert(items_.begin() + index, std::move(item));
    if (selection_ >= index)
        ++selection_;
    changed(window_change::state);
    return index;
}

int combo_box_ex::delete_item(int index) {
    if (index < 0 || index >= count())
        return -1;
    items_.erase(items_.begin() + index);
    if (selection_ == index)
        set_selection(-1);
    else if (selection_ > index)
        --selection_;
    changed(window_change::state);
    return count();
}

void combo_box_ex::reset() {
    items_.clear();
    set_selection(-1);
    changed(window_change::state);
}

int combo_box_ex::set_selection(int index) {
    selection_ = index >= 0 && index < count() ? index : -1;
    window::set_text(selection_ == -1 ? std::wstring{} : items_[selection_].text);
    changed(window_change::state);
    return selection_;
}

int combo_box_ex::dropped_width() const {
    return std::max(dropped_width_, rect().width());
}

int combo_box_ex::set_dropped_width(int width) {
    dropped_width_ = std::max(0, width);
    changed(window_change::state);
    return dropped_width();
}

void combo_box_ex::set_images(std::vector<std::uint16_t> icon_resources) {
    images_ = std::move(icon_resources);
    changed(window_change::state);
}

bool combo_box_ex::pick(int index) {
    if (!can_take_focus() || index < 0 || index >= count())
        return false;
    set_focus(*this);
    set_selection(index);
    if (auto* owner = dynamic_cast<dialog*>(parent()))
        owner->command(id(), notify::cbn_selchange);
    return true;
}

} // namespace platform::ui
