#pragma once
// The security functions of the maker's library.

#include "support/access_rights.h"

#include <cstdint>
#include <string_view>

namespace qv {

// Gives the local Users group (the host group "users") an allow entry with the access mask and
// entry flags (file_rights, ace_flags) on the file or folder, replacing the entry the group had.
// Used with file_rights::all_access and object and container inherit on shared folders, and with
// file_rights::read_write_delete and no flags on shared data files. A symbolic link on the way
// is never followed: the grant is then refused. True on success; every failure throws
// std::system_error carrying an HRESULT, and leaves the object as it was.
bool grant_users_access(std::wstring_view path, std::uint32_t access_mask, std::uint32_t flags);

} // namespace qv
