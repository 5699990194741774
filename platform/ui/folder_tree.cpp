#include "platform/ui/folder_tree.h"

#include "platform/os/folder_listing.h"
#include "platform/os/unicode.h"
#include "platform/os/windows_path.h"
#include "platform/ui/dialog.h"

namespace platform::ui {

namespace os = platform::os;

namespace {

// "C:\a\b\" -> {"C:", "a", "b"}: the drive and the folder names, without separators.
std::vector<std::wstring> folder_components(std::wstring_view path) {
    std::vector<std::wstring> components;
    for (std::wstring& element : os::path_elements(path)) {
        if (!element.empty() && element.find_first_not_of(L"\\/") != std::wstring::npos)
            components.push_back(std::move(element));
    }
    return components;
}

std::unique_ptr<folder_tree::item> root_item(const std::optional<std::wstring>& root_folder) {
    auto root = std::make_unique<folder_tree::item>();
    if (root_folder) {
        auto elements = folder_components(*root_folder);
        root->label = elements.empty() ? *root_folder : elements.back();
        root->path = *root_folder;
    } else {
        root->label = L"Computer";
    }
    return root;
}

// The drive's root "C:\" is shown as "C:".
std::wstring drive_label(const std::wstring& root) {
    return root.substr(0, 2);
}

std::unique_ptr<folder_tree::item> child_item(std::wstring label, std::wstring path,
                                              folder_tree::item& parent) {
    auto child = std::make_unique<folder_tree::item>();
    child->label = std::move(label);
    child->path = std::move(path);
    child->parent = &parent;
    return child;
}

// The components of a path below a folder; none when the path is not inside it.
std::optional<std::vector<std::wstring>> components_below(std::wstring_view folder,
                                                          std::wstring_view path) {
    const auto outer = folder_components(folder);
    auto inner = folder_components(path);
    if (inner.size() < outer.size())
        return std::nullopt;
    for (std::size_t i = 0; i < outer.size(); ++i) {
        if (!os::iequals(outer[i], inner[i]))
            return std::nullopt;
    }
    inner.erase(inner.begin(), inner.begin() + static_cast<std::ptrdiff_t>(outer.size()));
    return inner;
}

} // namespace

folder_tree::folder_tree(desktop& owner_desktop, window* parent, creation values,
                         std::optional<std::wstring> root_folder)
    : window(owner_desktop, parent, std::move(values)), root_(root_item(root_folder)) {}

std::optional<std::wstring> folder_tree::selected_path() const {
    return selected_ ? selected_->path : std::nullopt;
}

void folder_tree::read_children(item& parent) {
    if (parent.children_read)
        return;
    parent.children_read = true;
    if (!parent.path) {
        for (const std::wstring& drive : os::logical_drive_roots())
            parent.children.push_back(child_item(drive_label(drive), drive, parent));
        return;
    }
    // An unreadable folder shows no subfolders, as the shell's tree does.
    auto names = os::list_subfolders(*parent.path);
    if (!names)
        return;
    for (std::wstring& name : *names) {
        std::wstring path = os::path_join(*parent.path, name);
        parent.children.push_back(child_item(std::move(name), std::move(path), parent));
    }
}

const std::vector<std::unique_ptr<folder_tree::item>>& folder_tree::children_of(item& parent) {
    read_children(parent);
    return parent.children;
}

folder_tree::item* folder_tree::find(std::wstring_view folder) {
    item* current = root_.get();
    std::vector<std::wstring> rest;
    if (root_->path) {
        auto below = components_below(*root_->path, folder);
        if (!below)
            return nullptr;
        rest = std::move(*below);
    } else {
        rest = folder_components(folder);
        if (rest.empty())
            return nullptr;
    }
    for (const std::wstring& component : rest) {
        item* next = nullptr;
        for (const auto& child : children_of(*current)) {
            if (os::iequals(child->label, component)) {
                next = child.get();
                break;
            }
        }
        if (!next)
            return nullptr;
        current = next;
    }
    return current;
}

void folder_tree::select(item& target) {
    for (item* above = target.parent; above; above = above->parent) {
        if (!above->expanded)
            expand(*above);
    }
    if (selected_ == &target)
        return;
    selected_ = &target;
    changed(window_change::state);
    if (auto* owner = dynamic_cast<dialog*>(parent()))
        owner->command(id(), tvn::sel_changed);
}

void folder_tree::expand(item& target) {
    read_children(target);
    if (target.expanded)
        return;
    target.expanded = true;
    changed(window_change::state);
}

void folder_tree::collapse(item& target) {
    if (!target.expanded)
        return;
    target.expanded = false;
    changed(window_change::state);
}

} // namespace platform::ui
