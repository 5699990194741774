#pragma once
// The folder browser's tree (SysTreeView32 as the shell fills it): the machine's drives below a
// "Computer" item without file-system path, or the folders below a root folder. Subfolders are
// read when an item is first expanded, as the shell reads them.

#include "platform/ui/window.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ui {

namespace tvn {
// TVN_SELCHANGEDW as the low word a WM_COMMAND notification carries.
inline constexpr std::uint16_t sel_changed = static_cast<std::uint16_t>(-451);
} // namespace tvn

class folder_tree : public window {
public:
    struct item {
        std::wstring label;
        // None for the "Computer" item.
        std::optional<std::wstring> path;
        item* parent = nullptr;
        bool expanded = false;
        bool children_read = false;
        std::vector<std::unique_ptr<item>> children;
    };

    // Without root_folder the tree shows the drives.
    folder_tree(desktop& owner_desktop, window* parent, creation values,
                std::optional<std::wstring> root_folder);

    item& root() { return *root_; }
    const item& root() const { return *root_; }
    const item* selected() const { return selected_; }
    std::optional<std::wstring> selected_path() const;

    // The item of that folder, reading the folders on the way; none when the tree does not
    // hold it (outside the root, or missing).
    item* find(std::wstring_view folder);

    // TVM_SELECTITEM: the parent dialog gets TVN_SELCHANGED when the selection changes. The
    // items above it are expanded so that it shows.
    void select(item& target);
    // TVM_EXPAND: reads the item's subfolders the first time.
    void expand(item& target);
    void collapse(item& target);

    // The subfolders of an item, read on first use.
    const std::vector<std::unique_ptr<item>>& children_of(item& parent);

private:
    void read_children(item& parent);

    std::unique_ptr<item> root_;
    item* selected_ = nullptr;
};

} // namespace platform::ui
