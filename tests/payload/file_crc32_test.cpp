#include "payload/file_crc32.h"
#include "platform/os/file_faults.h"
#include "platform/os/machine.h"

#include "tests/payload/payload_archive.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace {

namespace os = platform::os;
using os::win32_error;

class file_crc32 : public testing::Test {
protected:
    file_crc32() { os::machine_root(); }

    std::wstring put(const std::string& content) const {
        qv_test::write_host_file(machine.drive_c("data.bin"), content);
        return L"C:\\data.bin";
    }

    qv_test::temp_machine machine;
};

TEST_F(file_crc32, is_the_reflected_crc_of_the_contents_on_disk) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"123456789", 0xCBF43926},
        {"", 0},
        {payload_test::varied_bytes(3 * 4096 + 17, 3), 0},
    };
    for (const auto& [content, expected] : cases) {
        const auto crc = qv::file_crc32(put(content));
        ASSERT_TRUE(crc) << crc.error().message();
        EXPECT_EQ(*crc, expected ? expected : payload_test::bitwise_crc32(content))
            << content.size();
    }
}

TEST_F(file_crc32, reports_the_windows_error_of_a_file_it_cannot_read) {
    std::filesystem::create_directories(machine.drive_c("folder"));
    EXPECT_EQ(qv::file_crc32(L"C:\\absent.bin").error(), win32_error::file_not_found);
    EXPECT_EQ(qv::file_crc32(L"C:\\folder").error(), win32_error::access_denied);

    const std::wstring file = put(payload_test::varied_bytes(5000, 1));
    // The open is the first operation, the first read the second.
    os::fail_file_operation(2, 23);
    EXPECT_EQ(qv::file_crc32(file).error(), win32_error::crc);
}

TEST_F(file_crc32, tries_again_after_a_sharing_violation) {
    const std::string content = "shared";
    const std::wstring file = put(content);
    os::fail_file_operation(1, 32);
    const auto crc = qv::file_crc32(file);
    ASSERT_TRUE(crc) << crc.error().message();
    EXPECT_EQ(*crc, payload_test::bitwise_crc32(content));
}

} // namespace
