#pragma once
// The shell's folder browse dialog (SHBrowseForFolderW): an instruction, the folder tree, an
// optional edit box for a typed folder name, OK and Cancel. Its events reach the caller's
// callback as the BFFM_* messages do.

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "platform/ui/edit.h"
#include "platform/ui/folder_tree.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::ui {

// BROWSEINFOW flags.
namespace bif {
inline constexpr std::uint32_t return_only_fs_dirs = 0x1;
inline constexpr std::uint32_t return_fs_ancestors = 0x8;
inline constexpr std::uint32_t edit_box = 0x10;
inline constexpr std::uint32_t validate = 0x20;
inline constexpr std::uint32_t new_dialog_style = 0x40;
} // namespace bif

class folder_browse_dialog;

// The callback (BrowseCallbackProc).
class folder_browse_events {
public:
    virtual ~folder_browse_events() = default;
    // BFFM_INITIALIZED
    virtual void initialized(folder_browse_dialog& browse) = 0;
    // BFFM_SELCHANGED, with the selected item's file-system path if it has one.
    virtual void selection_changed(folder_browse_dialog& browse,
                                   const std::optional<std::wstring>& path) = 0;
    // BFFM_VALIDATEFAILEDW for a typed name that names no existing folder: true keeps the
    // dialog open.
    virtual bool validate_failed(folder_browse_dialog& browse, std::wstring_view typed) = 0;
};

struct folder_browse_request {
    window* owner = nullptr;
    // The tree's root folder; none shows the machine's drives.
    std::optional<std::wstring> root;
    // The instruction above the tree; empty shows none.
    std::wstring title;
    std::uint32_t flags = 0;
};

// The item the dialog returned, with its file-system path if it has one.
struct browsed_item {
    std::optional<std::wstring> path;
};

class folder_browse_dialog : public dialog, private dialog_handler {
public:
    static constexpr int tree_id = 0x3741;
    static constexpr int title_id = 0x3742;
    static constexpr int edit_id = 0x3744;

    // The dialog with its controls, announced to the renderer, not yet shown.
    static std::unique_ptr<folder_browse_dialog>
    create(desktop& session, const folder_browse_request& request, folder_browse_events& events);

    folder_tree& tree() { return *tree_; }
    // The edit box, when the request asked for one.
    edit* edit_box() { return edit_; }
    // BFFM_ENABLEOK
    void enable_ok(bool enabled);

    // Runs the dialog modally: the initial selection is the tree's root, then the callback
    // hears BFFM_INITIALIZED. None when the user cancelled (or no input will come).
    std::optional<browsed_item> run();

    folder_browse_dialog(desktop& session, creation values, const folder_browse_request& request,
                         folder_browse_events& events);

private:
    void add_controls();
    void command(dialog& target, int id, std::uint16_t notification) override;
    bool system_command(dialog& target, std::uint32_t command) override;
    void accept();
    void finish(std::optional<browsed_item> chosen);

    folder_browse_request request_;
    folder_browse_events& events_;
    folder_tree* tree_ = nullptr;
    edit* edit_ = nullptr;
    std::optional<browsed_item> chosen_;
};

} // namespace platform::ui
