#include "support/owning_group_grant.h"

#include "support/hresult_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qv {

void grant_through_owning_group(const pinned_object& object, gid_t group,
                                const posix_grant& grant) {
    // Both calls act on the pinned descriptor, never on the object's name.
    if (::fchownat(object.descriptor(), "", static_cast<uid_t>(-1), group, AT_EMPTY_PATH) != 0)
        throw_errno(errno, "cannot give the object to the group");
    mode_t mode = (object.status().st_mode & 07777 & ~mode_t{S_IRWXG}) | (grant.permissions << 3);
    if (grant.inherited == inheritance::files_and_folders)
        mode |= S_ISGID;
    if (::chmod(object.proc_path().c_str(), mode) != 0)
        throw_errno(errno, "cannot change the object's mode");
}

} // namespace qv
