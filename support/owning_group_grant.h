#pragma once
// The grant on a file system without access lists.

#include "support/access_mapping.h"
#include "support/pinned_object.h"

#include <sys/types.h>

namespace qv {

// Where the file system has no access lists, every local user must still be able to create,
// change and delete files in a shared folder. The object is handed to the group instead: its
// owning group becomes group and the mode's group bits become the granted permissions; a folder
// granted with inheritance also gets the set-group-ID bit, so that what is created inside
// belongs to the group too (folders pass the bit on). The previous owning group loses its own
// access there, as the mode has a single group slot. Whether the group may write a file made
// inside later depends on its creator's umask; the installer grants its shared files itself.
// Throws the HRESULT of a failing change.
void grant_through_owning_group(const pinned_object& object, gid_t group, const posix_grant& grant);

} // namespace qv
