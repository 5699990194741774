#include "support/access_mapping.h"

#include "support/access_rights.h"
#include "support/hresult_failure.h"

#include <string>

namespace qv {
namespace {

std::uint32_t expand_generic_rights(std::uint32_t mask) {
    struct generic_mapping {
        std::uint32_t generic;
        std::uint32_t specific;
    };
    constexpr generic_mapping file_mapping[] = {
        {file_rights::generic_read, 0x00120089},
        {file_rights::generic_write, 0x00120116},
        {file_rights::generic_execute, 0x001200A0},
        {file_rights::generic_all, file_rights::all_access},
    };
    for (const auto& [generic, specific] : file_mapping) {
        if (mask & generic)
            mask = (mask & ~generic) | specific;
    }
    return mask;
}

} // namespace

posix_grant map_grant(std::uint32_t access_mask, std::uint32_t flags, object_kind kind) {
    const std::uint32_t inheriting = ace_flags::object_inherit | ace_flags::container_inherit;
    if (flags != ace_flags::none && flags != inheriting)
        throw_hresult(platform::os::hresults::e_invalidarg,
                      "access-entry flags " + std::to_string(flags) + " have no access-list form");
    const std::uint32_t mask = expand_generic_rights(access_mask);
    posix_grant grant;
    if (mask & file_rights::read_data)
        grant.permissions |= posix_permission::read;
    if (mask & (file_rights::write_data | file_rights::append_data))
        grant.permissions |= posix_permission::write;
    if ((mask & file_rights::execute) || (kind == object_kind::folder && grant.permissions != 0))
        grant.permissions |= posix_permission::execute;
    if (kind == object_kind::folder && flags == inheriting)
        grant.inherited = inheritance::files_and_folders;
    return grant;
}

} // namespace qv
