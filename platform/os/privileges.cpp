#include "platform/os/privileges.h"

#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include <atomic>

namespace platform::os {
namespace {

// The enabled privileges of the process's token, one bit each.
std::atomic<unsigned> enabled_privileges{0};

unsigned bit_of(privilege p) {
    return 1u << static_cast<unsigned>(p);
}

} // namespace

std::optional<privilege> lookup_privilege(std::wstring_view name) {
    if (iequals(name, L"SeBackupPrivilege"))
        return privilege::backup;
    if (iequals(name, L"SeRestorePrivilege"))
        return privilege::restore;
    return std::nullopt;
}

bool privilege_held(privilege) {
    try {
        return is_administrator();
    } catch (const machine_error&) {
        return false;
    }
}

bool privilege_enabled(privilege p) {
    return (enabled_privileges.load() & bit_of(p)) != 0 && privilege_held(p);
}

result<bool> adjust_privilege(privilege p, bool enable) {
    if (!privilege_held(p))
        return win32_error::not_all_assigned;
    const unsigned previous =
        enable ? enabled_privileges.fetch_or(bit_of(p)) : enabled_privileges.fetch_and(~bit_of(p));
    return (previous & bit_of(p)) != 0;
}

} // namespace platform::os
