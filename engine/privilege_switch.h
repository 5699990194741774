#pragma once
// Switching a privilege of the process token on and off by name (AdjustTokenPrivileges), as the
// saving and restoring of registry keys need the backup and restore privileges.

#include <string>
#include <string_view>
#include <system_error>

namespace qv {

enum class privilege_state { off, on };

// ERROR_NO_SUCH_PRIVILEGE for a name the system does not know, ERROR_NOT_ALL_ASSIGNED when the
// token does not hold the privilege (it then stays off).
std::error_code set_privilege(std::wstring_view name, privilege_state state);

// A privilege switched on for the life of the object and off afterwards, so that it is on just
// around the call that needs it. A privilege the token lacks stays off; the call needing it then
// fails with its own error, which is why the outcome of the switch is not kept.
class privilege_scope {
public:
    explicit privilege_scope(std::wstring_view name);
    ~privilege_scope();
    privilege_scope(const privilege_scope&) = delete;
    privilege_scope& operator=(const privilege_scope&) = delete;

private:
    std::wstring name_;
};

} // namespace qv
