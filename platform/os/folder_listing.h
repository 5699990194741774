#pragma once
// What the shell's folder tree shows: the machine's drives (GetLogicalDrives) and the subfolders
// of a folder (FindFirstFileW/FindNextFileW keeping directories).

#include "platform/os/result.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// The roots of the machine's drives, "C:\" and so on, in letter order.
std::vector<std::wstring> logical_drive_roots();

// The names of the folder's subfolders (links to folders included, hidden folders left out, as
// the shell's tree shows them), sorted without case. ERROR_PATH_NOT_FOUND or ERROR_DIRECTORY when
// the folder is missing or not a folder.
result<std::vector<std::wstring>> list_subfolders(std::wstring_view folder);

} // namespace platform::os
