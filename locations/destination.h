#pragma once
// Turning a payload entry's symbolic destination ("<InstallPath>\Lang", "<CommonData>\Quorvane")
// into a real folder.

#include "locations/shared_folders.h"

#include <string>
#include <string_view>

namespace qv {

// The folders chosen for this installation that placeholders stand for.
struct target_folders {
    std::wstring install;
    // For "<SamplePath>": relative (placed on the all-users desktop), absolute, or empty.
    std::wstring sample;
    // For "<Temporary>"; the install folder stands in when it is empty.
    std::wstring temporary;
};

// The folder destination names. Only a first element in angle brackets is a placeholder, matched
// exactly; an unknown one gives an empty base, so the rest stays relative. A destination
// without a placeholder is returned as it is. The folders below the all-users locations that
// the result passes through are added to shared. Throws std::system_error with
// compress_error::unexpected when a shell folder is unavailable.
std::wstring resolve_destination(std::wstring_view destination, const target_folders& folders,
                                 shared_folder_list& shared);

} // namespace qv
