#include "locations/shell_folder.h"

#include "payload/compress_error.h"
#include "platform/os/machine.h"
#include "platform/os/shell_folders.h"

#include "tests/locations/locations_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <system_error>

namespace os = platform::os;
namespace csidl = os::csidl;

namespace {

std::error_code thrown_by_lookup(int folder, int fallback, qv::shell_fallback allowed) {
    try {
        qv::get_shell_folder(folder, fallback, allowed);
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

TEST(get_shell_folder, the_fallback_is_asked_only_when_allowed_and_needed) {
    qv_test::temp_machine machine;
    const std::wstring roaming = L"C:\\users\\" + os::user_name() + L"\\AppData\\Roaming";
    EXPECT_EQ(
        qv::get_shell_folder(csidl::common_appdata, csidl::appdata, qv::shell_fallback::allowed),
        L"C:\\ProgramData");

    locations_test::make_unavailable(os::predefined_key::local_machine, L"Common AppData");
    EXPECT_EQ(
        qv::get_shell_folder(csidl::common_appdata, csidl::appdata, qv::shell_fallback::allowed),
        roaming);
    EXPECT_EQ(
        thrown_by_lookup(csidl::common_appdata, csidl::appdata, qv::shell_fallback::forbidden),
        qv::compress_error::unexpected);
    // An unknown folder is as unavailable as an emptied one.
    EXPECT_EQ(thrown_by_lookup(0x3F, csidl::appdata, qv::shell_fallback::allowed).value(), 0);
    EXPECT_EQ(thrown_by_lookup(0x3F, 0x3F, qv::shell_fallback::allowed),
              qv::compress_error::unexpected);
}

} // namespace
