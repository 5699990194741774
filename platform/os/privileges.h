#pragma once
// The token privileges of the process that the registry's save and restore need. As on
// Windows, they belong to the whole process: administrators hold them, and a held privilege is
// off until it is switched on.

#include "platform/os/result.h"

#include <optional>
#include <string_view>

namespace platform::os {

enum class privilege { backup, restore };

// "SeBackupPrivilege" or "SeRestorePrivilege", without case.
std::optional<privilege> lookup_privilege(std::wstring_view name);

bool privilege_held(privilege p);
bool privilege_enabled(privilege p);

// AdjustTokenPrivileges for one privilege: the previous enabled state, or
// ERROR_NOT_ALL_ASSIGNED when the token does not hold it.
result<bool> adjust_privilege(privilege p, bool enable);

} // namespace platform::os
