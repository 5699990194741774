#include "wizard/folder_browser.h"

#include "wizard/subfolder_proposal.h"
#include "wizard/typed_folder.h"

#include "platform/os/full_path.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_path.h"

#include <utility>

namespace qv {

namespace os = platform::os;

namespace {

constexpr std::uint32_t directory_attribute = 0x10;

std::optional<std::wstring> parent_folder(const std::optional<std::wstring>& folder) {
    if (!folder)
        return std::nullopt;
    std::wstring parent = *folder;
    if (!os::path_remove_file_spec(parent))
        return std::nullopt;
    return parent;
}

std::optional<std::wstring> nearest_existing_folder(std::wstring folder) {
    while (!os::path_is_directory(folder)) {
        if (!os::path_remove_file_spec(folder))
            return std::nullopt;
    }
    return folder;
}

} // namespace

folder_browser::folder_browser(std::optional<std::wstring> root_path)
    : root_path_(std::move(root_path)), base_folder_(parent_folder(root_path_)) {}

folder_browser folder_browser::for_start_menu() {
    std::wstring programs;
    if (!os::get_special_folder_path(os::csidl::common_programs, programs))
        return folder_browser();
    return folder_browser(std::move(programs));
}

void folder_browser::prepare(std::wstring_view initial, std::wstring_view subfolder) {
    dialog_ready_ = false;
    path_from_typed_name_ = false;
    edit_box_found_ = false;
    path_ = os::path_is_relative(initial) ? std::wstring() : std::wstring(initial);
    if (path_.empty() && root_path_)
        path_ = *root_path_;
    if (!path_.empty() && path_.back() == L':')
        path_ += L'\\';
    if (path_.empty())
        path_ = os::documents_known_folder();
    subfolder_ = accepted_subfolder(subfolder);
    ensure_subfolder();
}

std::uint32_t folder_browser::dialog_flags() const {
    std::uint32_t flags =
        bif::return_only_fs_dirs | bif::return_fs_ancestors | bif::new_dialog_style;
    if (!subfolder_.empty())
        flags |= bif::edit_box | bif::validate;
    return flags;
}

void folder_browser::ensure_subfolder() {
    if (subfolder_.empty())
        return;
    append_subfolder(path_, subfolder_);
    if (!base_folder_)
        return;
    // Already relative paths have no relative form and stay as they are.
    auto relative =
        os::path_relative_path_to(*base_folder_, directory_attribute, path_, directory_attribute);
    if (relative)
        path_ = os::path_canonicalize(*relative).value_or(*relative);
}

std::optional<std::wstring> folder_browser::absolute_proposal() const {
    if (base_folder_) {
        std::wstring proposal = *base_folder_;
        if (!os::path_append(proposal, path_))
            return std::nullopt;
        return proposal;
    }
    if (path_.size() >= os::max_path)
        return std::nullopt;
    return path_;
}

void folder_browser::dialog_initialized(browse_dialog& dialog) {
    dialog_ready_ = true;
    std::optional<std::wstring> existing;
    if (auto proposal = absolute_proposal())
        existing = nearest_existing_folder(std::move(*proposal));
    if (existing) {
        dialog.select_folder(*existing);
        dialog.expand_folder(*existing);
    }
    edit_box_found_ = !subfolder_.empty() && dialog.find_edit_box();
    if (existing && edit_box_found_)
        dialog.show_edit_text(path_);
}

void folder_browser::selection_changed(browse_dialog& dialog,
                                       const std::optional<std::wstring>& selected) {
    if (!dialog_ready_)
        return;
    if (selected) {
        path_ = *selected;
        ensure_subfolder();
    }
    if (edit_box_found_)
        dialog.show_edit_text(path_);
    if (subfolder_.empty())
        dialog.enable_ok(selected ? ok_button::enabled : ok_button::disabled);
}

typed_name_verdict folder_browser::typed_name_not_found(browse_dialog& dialog,
                                                        std::wstring_view typed) {
    auto qualified = qualify_typed_folder(typed, base_folder_);
    if (!qualified) {
        dialog.show_refusal(os::message_id(qualified.error()));
        return typed_name_verdict::keep_dialog_open;
    }
    path_ = std::move(*qualified);
    path_from_typed_name_ = true;
    return typed_name_verdict::close_dialog;
}

std::optional<std::wstring>
folder_browser::chosen_folder(const std::optional<std::wstring>& item_path) {
    if (!item_path)
        return std::nullopt;
    if (!path_from_typed_name_)
        path_ = *item_path;
    return path_;
}

std::wstring folder_browser::relative_to_base(std::wstring_view folder) const {
    if (!base_folder_)
        return std::wstring(folder);
    auto relative =
        os::path_relative_path_to(*base_folder_, directory_attribute, folder, directory_attribute);
    if (!relative)
        return std::wstring(folder);
    if (*relative == L".")
        return {};
    return os::path_canonicalize(*relative).value_or(*relative);
}

} // namespace qv
