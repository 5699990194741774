#include "platform/framework/combo_box_ex.h"

namespace platform::framework {

namespace ui = platform::ui;

int CComboBoxEx::InsertItem(int index, ui::combo_item item) {
    auto* control = model<ui::combo_box_ex>();
    return control ? control->insert_item(index, std::move(item)) : CB_ERR;
}

int CComboBoxEx::GetCount() const {
    const auto* control = model<ui::combo_box_ex>();
    return control ? control->count() : CB_ERR;
}

int CComboBoxEx::GetCurSel() const {
    const auto* control = model<ui::combo_box_ex>();
    return control ? control->selection() : CB_ERR;
}

int CComboBoxEx::SetCurSel(int index) {
    auto* control = model<ui::combo_box_ex>();
    return control ? control->set_selection(index) : CB_ERR;
}

const ui::combo_item* CComboBoxEx::item(int index) const {
    const auto* control = model<ui::combo_box_ex>();
    if (!control || index < 0 || index >= control->count())
        return nullptr;
    return &control->items()[static_cast<std::size_t>(index)];
}

std::optional<std::intptr_t> CComboBoxEx::GetItemData(int index) const {
    const ui::combo_item* found = item(index);
    return found ? std::optional(found->data) : std::nullopt;
}

std::optional<std::wstring> CComboBoxEx::GetItemText(int index) const {
    const ui::combo_item* found = item(index);
    return found ? std::optional(found->text) : std::nullopt;
}

CImageList* CComboBoxEx::SetImageList(CImageList* images) {
    CImageList* earlier = images_;
    images_ = images;
    if (auto* control = model<ui::combo_box_ex>())
        control->set_images(images ? images->images() : nullptr);
    return earlier;
}

int CComboBoxEx::SetDroppedWidth(int width) {
    auto* control = model<ui::combo_box_ex>();
    return control ? control->set_dropped_width(width) : CB_ERR;
}

int CComboBoxEx::GetDroppedWidth() const {
    const auto* control = model<ui::combo_box_ex>();
    return control ? control->dropped_width() : CB_ERR;
}

} // namespace platform::framework
