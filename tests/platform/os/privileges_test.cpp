#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/os/privileges.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace os = platform::os;

namespace {

TEST(privileges, names_are_looked_up_without_case) {
    const std::pair<const wchar_t*, std::optional<os::privilege>> cases[] = {
        {L"SeBackupPrivilege", os::privilege::backup},
        {L"sebackupprivilege", os::privilege::backup},
        {L"SeRestorePrivilege", os::privilege::restore},
        {L"SERESTOREPRIVILEGE", os::privilege::restore},
        {L"SeShutdownPrivilege", std::nullopt},
        {L"SeBackup", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(os::lookup_privilege(name), expected);
}

TEST(privileges, an_administrator_holds_both_and_switches_each_on_and_off) {
    qv_test::temp_machine machine;
    for (os::privilege p : {os::privilege::backup, os::privilege::restore}) {
        EXPECT_TRUE(os::privilege_held(p));
        EXPECT_FALSE(os::privilege_enabled(p));
    }
    EXPECT_EQ(os::adjust_privilege(os::privilege::backup, true).value(), false);
    EXPECT_TRUE(os::privilege_enabled(os::privilege::backup));
    EXPECT_FALSE(os::privilege_enabled(os::privilege::restore));
    EXPECT_EQ(os::adjust_privilege(os::privilege::backup, true).value(), true);
    EXPECT_EQ(os::adjust_privilege(os::privilege::restore, false).value(), false);
    EXPECT_EQ(os::adjust_privilege(os::privilege::backup, false).value(), true);
    EXPECT_FALSE(os::privilege_enabled(os::privilege::backup));
}

TEST(privileges, a_user_who_is_not_an_administrator_holds_neither) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "switching users needs root";
    qv_test::temp_machine machine;
    os::machine_root();
    const int outcome = qv_test::run_in_child(
        [] {
            for (os::privilege p : {os::privilege::backup, os::privilege::restore}) {
                if (os::privilege_held(p) || os::privilege_enabled(p))
                    return 1;
                if (os::adjust_privilege(p, true).error() !=
                    os::make_error_code(os::win32_error::not_all_assigned))
                    return 2;
                if (os::privilege_enabled(p))
                    return 3;
            }
            return 0;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(outcome, 0);
}

} // namespace
