#include "support/users_group.h"

#include "support/hresult_failure.h"

#include <cerrno>
#include <grp.h>
#include <vector>

namespace qv {
namespace {

// ERROR_NONE_MAPPED: no account answers to the name.
constexpr std::uint32_t none_mapped = 1332;

} // namespace

gid_t users_group_id() {
    std::vector<char> buffer(1024);
    group entry{};
    group* found = nullptr;
    int error = 0;
    while ((error = ::getgrnam_r("users", &entry, buffer.data(), buffer.size(), &found)) == ERANGE)
        buffer.resize(buffer.size() * 2);
    if (error != 0)
        throw_errno(error, "cannot look up the group users");
    if (!found)
        throw_hresult(platform::os::hresult_from_win32(none_mapped), "the host has no group users");
    return found->gr_gid;
}

} // namespace qv
