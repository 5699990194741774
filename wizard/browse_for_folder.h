#pragma once
// The folder chooser's entry points: the browse dialog run by a folder_browser.

#include <string>
#include <string_view>

namespace qv {

// The chosen absolute folder, the subfolder proposed below the selection; empty when the user
// cancelled or the browser could not start.
std::wstring browse_folder(std::wstring_view initial, std::wstring_view subfolder,
                           std::wstring_view title);

// The same with the tree rooted at the all-users Start-menu programs folder; when a folder is
// chosen, relative receives it relative to the Start-menu folder ("" for the Start-menu folder
// itself, the folder whole when it has no relative form). relative is unchanged otherwise.
std::wstring browse_start_menu_folder(std::wstring_view initial, std::wstring_view subfolder,
                                      std::wstring_view title, std::wstring& relative);

} // namespace qv
