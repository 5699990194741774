#pragma once
// The folder chooser's logic: what the browse dialog proposes and selects, how a typed name is
// checked, and what the browse returns. One object per browse; the dialog reports its events
// through the member functions named after them.

#include "platform/ui/folder_browse_dialog.h"
#include "wizard/browse_dialog.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

namespace bif = platform::ui::bif;

// What the callback answers to a typed name the shell could not find: 1 keeps the dialog open.
enum class typed_name_verdict { close_dialog = 0, keep_dialog_open = 1 };

class folder_browser {
public:
    // A tree rooted at the folder root_path, or at the desktop without one. The base folder,
    // against which paths are shown relative, is the root's parent; none without a root or
    // when the root has no parent.
    explicit folder_browser(std::optional<std::wstring> root_path = std::nullopt);

    // Rooted at the all-users Start-menu programs folder (CSIDL_COMMON_PROGRAMS); at the desktop
    // when the machine does not have that folder.
    static folder_browser for_start_menu();

    // Before the dialog: the proposal from the initial folder (a relative one is discarded; none
    // starts at the root, else at the user's Documents) and the subfolder below it.
    void prepare(std::wstring_view initial, std::wstring_view subfolder);

    // The dialog's BIF flags: an edit box that validates only when a subfolder is proposed.
    std::uint32_t dialog_flags() const;

    // BFFM_INITIALIZED: selects and expands the nearest existing folder of the proposal and shows
    // the proposal in the edit box.
    void dialog_initialized(browse_dialog& dialog);

    // BFFM_SELCHANGED, with the new selection's file-system path if it has one.
    void selection_changed(browse_dialog& dialog, const std::optional<std::wstring>& selected);

    // BFFM_VALIDATEFAILEDW: the typed name is taken as the chosen folder, or refused with a
    // message while the dialog stays open.
    typed_name_verdict typed_name_not_found(browse_dialog& dialog, std::wstring_view typed);

    // After the dialog, with the file-system path of the item it returned (none when cancelled
    // or when the item has none): the chosen absolute folder, or none.
    std::optional<std::wstring> chosen_folder(const std::optional<std::wstring>& item_path);

    // A chosen folder as shown relative to the base folder, canonicalized: empty for the base
    // folder itself, the folder unchanged when it has no relative form.
    std::wstring relative_to_base(std::wstring_view folder) const;

    const std::optional<std::wstring>& root_path() const { return root_path_; }
    const std::optional<std::wstring>& base_folder() const { return base_folder_; }
    // Absolute, or relative to the base folder while there is one and a subfolder is proposed.
    const std::wstring& path() const { return path_; }
    const std::wstring& subfolder() const { return subfolder_; }

private:
    void ensure_subfolder();
    std::optional<std::wstring> absolute_proposal() const;

    std::optional<std::wstring> root_path_;
    std::optional<std::wstring> base_folder_;
    std::wstring path_;
    std::wstring subfolder_;
    bool dialog_ready_ = false;
    bool path_from_typed_name_ = false;
    bool edit_box_found_ = false;
};

} // namespace qv
