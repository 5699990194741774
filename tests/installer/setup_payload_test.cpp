// The setup program's resources carry the product: the packed payload as resource 260/134,
// language neutral, read in place and complete.

#include "payload/payload_resource.h"
#include "payload/verify_payload.h"
#include "platform/os/resources.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

namespace os = platform::os;

std::string packed_payload() {
    std::ifstream file(QV_PAYLOAD_ARCHIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(setup_payload, the_resource_is_the_packed_payload_in_the_neutral_language) {
    const std::string packed = packed_payload();
    ASSERT_GT(packed.size(), 0u);
    const auto neutral = os::find_resource(os::own_module(), 260, 134, std::uint16_t{0});
    ASSERT_TRUE(neutral);
    ASSERT_EQ(neutral->size(), packed.size());
    EXPECT_TRUE(
        std::equal(packed.begin(), packed.end(), reinterpret_cast<const char*>(neutral->data())));
}

TEST(setup_payload, the_embedded_payload_passes_the_check_pass) {
    qv::imemstream payload = qv::load_payload_resource();
    EXPECT_TRUE(qv::verify_payload(payload));
}

} // namespace
