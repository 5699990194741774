#pragma once
// CComboBoxEx: an extended combo box control of a dialog (items with text, image and data).

#include "platform/framework/image_list.h"
#include "platform/framework/wnd.h"
#include "platform/ui/combo_box_ex.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform::framework {

// CB_ERR: what the control's messages answer when they fail.
inline constexpr int CB_ERR = -1;

class CComboBoxEx : public CWnd {
public:
    // CBEM_INSERTITEM: at the index (-1 appends); the item's index, or CB_ERR.
    int InsertItem(int index, platform::ui::combo_item item);
    int GetCount() const;
    // CB_GETCURSEL: CB_ERR when nothing is selected.
    int GetCurSel() const;
    // CB_SETCURSEL: the index, or CB_ERR when it is outside the items (the selection is cleared).
    int SetCurSel(int index);
    // CBEM_GETITEM: the item's data or text; none for a bad index.
    std::optional<std::intptr_t> GetItemData(int index) const;
    std::optional<std::wstring> GetItemText(int index) const;
    // CBEM_SETIMAGELIST: the earlier list.
    CImageList* SetImageList(CImageList* images);
    CImageList* GetImageList() const { return images_; }
    // CB_SETDROPPEDWIDTH: the resulting width, or CB_ERR.
    int SetDroppedWidth(int width);
    int GetDroppedWidth() const;

private:
    const platform::ui::combo_item* item(int index) const;

    CImageList* images_ = nullptr;
};

} // namespace platform::framework
