#pragma once
// Undoing an installation from its uninstall log.

#include "engine/uninstall_log.h"

#include <string>
#include <string_view>
#include <vector>

namespace uninstaller {

// Something the uninstallation should have removed and did not, and why.
struct left_item {
    std::wstring what;
    std::wstring reason;
};

struct uninstall_outcome {
    std::vector<left_item> left;
    // The log lists shared data files, which stay for the other users' work.
    bool shared_data_kept = false;
};

// Undoes the installation that the read log describes:
// - the product undoes its registration first, while its files are all there; when it cannot,
//   nothing is removed, so that a later run can still ask it;
// - then, from the log's last record to its first, the product files, samples and links are
//   deleted and the folders the installation created are removed when empty; shared data files
//   (payload kind 3) are kept;
// - only when all of that is gone: the uninstall entry, the registered program path, the log
//   and the uninstaller itself, then the uninstaller's folder and the created folders that are
//   empty now. Otherwise these stay, so that the uninstaller can be run again.
// own_path is the uninstaller's file, log_path the log it read.
uninstall_outcome undo_installation(const qv::uninstall_log& log, std::wstring_view own_path,
                                    std::wstring_view log_path);

} // namespace uninstaller
