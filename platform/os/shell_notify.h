#pragma once
// SHChangeNotify: tells the shell that something it shows has changed. The machine folder has no
// shell that caches file associations or icons, so a notification is accepted and changes
// nothing; the installer still sends it where a Windows shell would need it.

#include <cstdint>

namespace platform::os {

enum class shell_change_event : std::uint32_t {
    // SHCNE_ASSOCCHANGED: a file type's association changed.
    association_changed = 0x08000000,
};

enum class shell_change_flags : std::uint32_t {
    // SHCNF_FLUSH without items: returns once the shell has handled the notification.
    flush = 0x1000,
};

void shell_change_notify(shell_change_event event, shell_change_flags flags);

} // namespace platform::os
