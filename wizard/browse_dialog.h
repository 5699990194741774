#pragma once
// The shell's folder browse dialog as the folder browser drives it from its callback
// (SHBrowseForFolderW's BFFM_* messages). The window model's dialog implements it.

#include <cstdint>
#include <string_view>

namespace qv {

enum class ok_button { disabled, enabled };

class browse_dialog {
public:
    virtual ~browse_dialog() = default;

    // BFFM_SETSELECTIONW and BFFM_SETEXPANDED with a file-system path.
    virtual void select_folder(std::wstring_view path) = 0;
    virtual void expand_folder(std::wstring_view path) = 0;
    // Looks for the dialog's first child window of class "Edit" (compared without case) and
    // keeps it; true when there is one.
    virtual bool find_edit_box() = 0;
    // Sets the edit box's text and selects all of it (EM_SETSEL 0, -1).
    virtual void show_edit_text(std::wstring_view text) = 0;
    // BFFM_ENABLEOK
    virtual void enable_ok(ok_button state) = 0;
    // A message box owned by the dialog: system_error_text(code), no caption, the exclamation
    // icon, with_owner_reading_order for the dialog's layout.
    virtual void show_refusal(std::uint32_t code) = 0;
};

} // namespace qv
