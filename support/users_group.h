#pragma once
// The host group that plays Windows' local Users group (S-1-5-32-545).

#include <sys/types.h>

namespace qv {

// The id of the group "users". Throws HRESULT_FROM_WIN32(ERROR_NONE_MAPPED) when the host has
// no such group.
gid_t users_group_id();

} // namespace qv
