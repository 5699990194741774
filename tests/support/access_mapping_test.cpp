#include "support/access_mapping.h"

#include "support/access_rights.h"

#include "platform/os/error.h"

#include "tests/support/security_test_support.h"

#include <gtest/gtest.h>

namespace os = platform::os;
using qv::object_kind;

namespace {

constexpr std::uint32_t inherit = qv::ace_flags::object_inherit | qv::ace_flags::container_inherit;

struct mapping_case {
    std::uint32_t mask;
    std::uint32_t flags;
    object_kind kind;
    unsigned permissions;
    qv::inheritance inherited;
};

TEST(access_mapping, windows_rights_become_read_write_and_execute) {
    using enum qv::inheritance;
    namespace rights = qv::file_rights;
    const mapping_case cases[] = {
        {rights::all_access, inherit, object_kind::folder, 07, files_and_folders},
        {rights::all_access, 0, object_kind::folder, 07, none},
        {rights::all_access, inherit, object_kind::file, 07, none},
        {rights::read_write_delete, 0, object_kind::file, 06, none},
        {rights::generic_all, 0, object_kind::file, 07, none},
        {rights::generic_read, 0, object_kind::file, 04, none},
        {rights::generic_write, 0, object_kind::file, 02, none},
        {rights::generic_execute, 0, object_kind::file, 01, none},
        {rights::append_data, 0, object_kind::file, 02, none},
        // A folder that may be listed or added to may also be entered.
        {rights::read_data, 0, object_kind::folder, 05, none},
        {rights::append_data, 0, object_kind::folder, 03, none},
        {rights::execute, 0, object_kind::folder, 01, none},
        // Rights that access lists do not hold give nothing.
        {rights::delete_access | rights::delete_child | rights::write_dac | rights::write_owner |
             rights::read_attributes | rights::write_attributes | rights::synchronize,
         inherit, object_kind::folder, 0, files_and_folders},
    };
    for (const auto& entry : cases) {
        const qv::posix_grant grant = qv::map_grant(entry.mask, entry.flags, entry.kind);
        EXPECT_EQ(grant.permissions, entry.permissions) << std::hex << entry.mask;
        EXPECT_EQ(grant.inherited, entry.inherited) << std::hex << entry.mask;
    }
}

TEST(access_mapping, flags_that_would_grant_more_than_asked_are_invalid) {
    for (std::uint32_t flags : {0x1u, 0x2u, 0x3u | 0x4u, 0x3u | 0x8u, 0x3u | 0x10u, 0x20u}) {
        for (object_kind kind : {object_kind::file, object_kind::folder}) {
            EXPECT_EQ(security_test::hresult_thrown_by(
                          [&] { qv::map_grant(qv::file_rights::all_access, flags, kind); }),
                      os::hresults::e_invalidarg)
                << flags;
        }
    }
}

} // namespace
