#pragma once
// Opening up the shared folders an entry's file is written into.

#include "locations/shared_folders.h"

#include <string_view>

namespace qv {

// For every record not yet granted, walks up from folder (the parent of a file about to be
// created) to the record's folder; when it is met, the record is marked granted and the local
// Users group is given every right on it, inherited by files and subfolders. The walk stops at
// anything that is not a real folder: a symbolic link is never followed nor granted. Failures,
// of the grant too, are ignored: they never keep the file from being written.
void grant_shared_folders(std::wstring_view folder, shared_folder_list& shared);

} // namespace qv
