#include "engine/privilege_switch.h"

#include "platform/os/error.h"
#include "platform/os/privileges.h"

namespace qv {
namespace os = platform::os;

std::error_code set_privilege(std::wstring_view name, privilege_state state) {
    const auto privilege = os::lookup_privilege(name);
    if (!privilege)
        return os::make_error_code(os::win32_error::no_such_privilege);
    const auto adjusted = os::adjust_privilege(*privilege, state == privilege_state::on);
    return adjusted ? std::error_code() : adjusted.error();
}

privilege_scope::privilege_scope(std::wstring_view name) : name_(name) {
    set_privilege(name_, privilege_state::on);
}

privilege_scope::~privilege_scope() {
    set_privilege(name_, privilege_state::off);
}

} // namespace qv
