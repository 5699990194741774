#include "support/security.h"

#include "support/access_list.h"
#include "support/access_mapping.h"
#include "support/hresult_failure.h"
#include "support/owning_group_grant.h"
#include "support/pinned_object.h"
#include "support/users_group.h"

#include <cerrno>
#include <optional>

namespace qv {
namespace {

enum class outcome { granted, no_access_lists };

// reach names the pinned object (its /proc/self/fd path), so no name is looked up again.
outcome grant_on_access_lists(const std::string& reach, gid_t group, const posix_grant& grant) {
    const std::optional<access_list> old_access =
        access_list::read(reach, access_list_type::access);
    if (!old_access)
        return outcome::no_access_lists;
    access_list new_access = old_access->copy();
    new_access.set_group_entry(group, grant.permissions);
    std::optional<access_list> new_default;
    if (grant.inherited == inheritance::files_and_folders) {
        std::optional<access_list> current =
            access_list::read(reach, access_list_type::default_list);
        new_default =
            !current || current->empty() ? old_access->base_entries() : std::move(*current);
        new_default->set_group_entry(group, grant.permissions);
    }

    if (const int error = new_access.write(reach, access_list_type::access)) {
        if (error == ENOTSUP)
            return outcome::no_access_lists;
        throw_errno(error, "cannot write the access list");
    }
    if (new_default) {
        if (const int error = new_default->write(reach, access_list_type::default_list)) {
            // Nothing changes unless everything does.
            old_access->write(reach, access_list_type::access);
            throw_errno(error, "cannot write the default access list");
        }
    }
    return outcome::granted;
}

} // namespace

bool grant_users_access(std::wstring_view path, std::uint32_t access_mask, std::uint32_t flags) {
    const pinned_object object = pinned_object::open(path);
    const posix_grant grant = map_grant(access_mask, flags, object.kind());
    const gid_t users = users_group_id();
    if (grant_on_access_lists(object.proc_path(), users, grant) == outcome::no_access_lists)
        grant_through_owning_group(object, users, grant);
    return true;
}

} // namespace qv
