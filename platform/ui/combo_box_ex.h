#pragma once
// Extended combo boxes (drop-down lists with images): items with text, image index and data,
// the image list, the selection and the drop-down list's width.

#include "platform/ui/window.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

struct combo_item {
    std::wstring text;
    int image = -1;
    int selected_image = -1;
    std::intptr_t data = 0;
};

class combo_box_ex : public window {
public:
    combo_box_ex(desktop& owner_desktop, window* parent, creation values);

    const std::vector<combo_item>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }

    // CBEM_INSERTITEM: index -1 appends; the new item's index, or -1 past the end.
    int insert_item(int index, combo_item item);
    // CBEM_DELETEITEM: the number of items left, or -1 for a bad index. The selection follows
    // the item it was on, or is cleared when that item goes.
    int delete_item(int index);
    // CB_RESETCONTENT.
    void reset();

    // CB_GETCURSEL; -1 when nothing is selected.
    int selection() const { return selection_; }
    // CB_SETCURSEL: the index, or -1 when it is outside the items (the selection is cleared).
    // No notification; the control's text is the selected item's.
    int set_selection(int index);

    // CB_GETDROPPEDWIDTH: the set width, but never narrower than the control.
    int dropped_width() const;
    // CB_SETDROPPEDWIDTH: the resulting width.
    int set_dropped_width(int width);

    // CBEM_SETIMAGELIST: the pictures the items' image indices name, as icon resources.
    void set_images(std::vector<std::uint16_t> icon_resources);
    const std::vector<std::uint16_t>& images() const { return images_; }

    // The user picks an item: CBN_SELCHANGE to the parent dialog. False when ignored (bad index
    // or the control cannot take input).
    bool pick(int index);

private:
    std::vector<combo_item> items_;
    std::vector<std::uint16_t> images_;
    int selection_ = -1;
    int dropped_width_ = 0;
};

} // namespace platform::ui
