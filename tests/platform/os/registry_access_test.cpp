#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/os/privileges.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include "tests/platform/os/registry_test_support.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace os = platform::os;
using namespace std::string_literals;
using os::predefined_key;
using os::win32_error;

using registry_test::code_of;

namespace {

// What a user who is not an administrator gets from the machine's keys.
struct user_check {
    const char* what;
    std::function<bool()> holds;
};

const std::vector<user_check>& user_checks() {
    static const std::vector<user_check> checks = {
        {"reads HKLM",
         [] {
             const auto key = os::open_key(predefined_key::local_machine, L"Software\\Quorvane",
                                           os::key_access::read);
             return key && os::query_value(*key, L"v").value().bytes == "\7\0\0\0"s &&
                    os::enum_key(*key, 0).value() == L"Sub";
         }},
        {"cannot open HKLM for writing",
         [] {
             for (std::uint32_t access :
                  {os::key_access::write, os::key_access::all_access, os::key_access::set_value,
                   os::key_access::create_sub_key, 0x40000000u /* GENERIC_WRITE */}) {
                 if (os::open_key(predefined_key::local_machine, L"Software\\Quorvane", access)
                         .error() != code_of(win32_error::access_denied))
                     return false;
             }
             return os::open_key(predefined_key::local_machine, L"", os::key_access::all_access)
                        .error() == code_of(win32_error::access_denied);
         }},
        {"gets read access from maximum_allowed, so writes fail",
         [] {
             const auto key = os::open_key(predefined_key::local_machine, L"Software\\Quorvane",
                                           os::key_access::maximum_allowed);
             return key && key->access() == os::key_access::read && os::query_value(*key, L"v") &&
                    os::set_dword_value(*key, L"v", 8) == code_of(win32_error::access_denied) &&
                    os::delete_value(*key, L"v") == code_of(win32_error::access_denied) &&
                    os::create_key(*key, L"New", os::key_access::read).error() ==
                        code_of(win32_error::access_denied);
         }},
        {"opens an existing key with create_key to read, and creates none",
         [] {
             const auto existing = os::create_key(predefined_key::local_machine,
                                                  L"Software\\Quorvane", os::key_access::read);
             return existing && existing->disposition == os::key_disposition::opened_existing_key &&
                    os::create_key(predefined_key::local_machine, L"Software\\Quorvane",
                                   os::key_access::write)
                            .error() == code_of(win32_error::access_denied) &&
                    os::create_key(predefined_key::local_machine, L"Software\\New",
                                   os::key_access::read)
                            .error() == code_of(win32_error::access_denied);
         }},
        {"cannot write HKCR either",
         [] {
             return os::open_key(predefined_key::classes_root, L".qv", os::key_access::read) &&
                    os::open_key(predefined_key::classes_root, L".qv", os::key_access::write)
                            .error() == code_of(win32_error::access_denied) &&
                    os::create_key(predefined_key::classes_root, L".new",
                                   os::key_access::all_access)
                            .error() == code_of(win32_error::access_denied);
         }},
        {"cannot delete HKLM keys, and learns which are missing",
         [] {
             return os::delete_tree(predefined_key::local_machine, L"Software\\Quorvane") ==
                        code_of(win32_error::access_denied) &&
                    os::delete_tree(predefined_key::local_machine, L"Software\\Missing") ==
                        code_of(win32_error::file_not_found);
         }},
        {"is granted full access to HKEY_CURRENT_USER",
         [] {
             const auto key =
                 os::open_key(predefined_key::current_user, L"", os::key_access::maximum_allowed);
             return key && key->access() == os::key_access::all_access;
         }},
        {"cannot save keys",
         [] {
             const auto key = os::open_key(predefined_key::local_machine, L"Software\\Quorvane",
                                           os::key_access::read);
             return key && os::save_key(*key, L"C:\\users\\Public\\saved.reg") ==
                               code_of(win32_error::privilege_not_held);
         }},
    };
    return checks;
}

TEST(registry_access, a_user_who_is_not_an_administrator_reads_but_does_not_change_hklm) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "switching users needs root";
    qv_test::temp_machine machine;
    {
        const auto key = os::create_key(predefined_key::local_machine, L"Software\\Quorvane\\Sub",
                                        os::key_access::all_access);
        ASSERT_TRUE(key);
        const auto parent = os::open_key(predefined_key::local_machine, L"Software\\Quorvane",
                                         os::key_access::all_access);
        ASSERT_FALSE(os::set_dword_value(*parent, L"v", 7));
        ASSERT_TRUE(os::create_key(predefined_key::classes_root, L".qv", os::key_access::read));
    }
    const auto system_reg = machine.root() / "system.reg";
    ASSERT_EQ(::chmod(system_reg.c_str(), 0644), 0);
    const std::string before = qv_test::read_host_file(system_reg);

    const auto& checks = user_checks();
    const int failed = qv_test::run_in_child(
        [&] {
            if (os::is_administrator())
                return 100;
            for (std::size_t i = 0; i < checks.size(); ++i) {
                if (!checks[i].holds())
                    return static_cast<int>(i + 1);
            }
            return 0;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(failed, 0) << (failed > 0 && failed <= static_cast<int>(checks.size())
                                 ? checks[failed - 1].what
                                 : "the child did not run as another user");
    EXPECT_EQ(qv_test::read_host_file(system_reg), before);
}

} // namespace
