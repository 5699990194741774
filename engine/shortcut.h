#pragma once
// The installation's shell links: the one operation that writes a link file, and the names and
// folder the links get.

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// Saves a shell link to target in folder (which must exist) as "<link name>.lnk", with the
// target's folder as its working folder and nothing else set; without a link name, the target's
// file name without its extension is used. The link path is formed in MAX_PATH buffers as the
// shell's path functions do. A link already at that path is replaced. Returns the link file's
// path, or nothing when the link was not saved: the target has no folder or no file name, the
// link path does not fit, or the shell link could not be created or saved.
std::optional<std::wstring> create_shortcut(std::wstring_view target, std::wstring_view folder,
                                            std::optional<std::wstring_view> link_name = {});

// The name of the uninstaller's link: message 13 ("Uninstall %1") with the product name without
// its version, in the current language. The program's links are named with the product's display
// name (product_name with its version).
std::wstring uninstall_link_name();

// The folder of the desktop link: the all-users desktop, else the user's desktop when the first
// cannot be determined; nothing when neither can.
std::optional<std::wstring> desktop_link_folder();

} // namespace qv
