#include "payload/compress_error.h"

#include <gtest/gtest.h>

namespace {

TEST(compress_category, names_its_codes_and_calls_the_rest_unknown) {
    EXPECT_STREQ(qv::compress_category().name(), "compress");
    const std::pair<int, const char*> cases[] = {
        {3, "invalid checksum"}, {4, "unknown error"}, {5, "interrupted"},   {6, "bzip2 error"},
        {7, "unexpected error"}, {0, "unknown error"}, {8, "unknown error"}, {-1, "unknown error"},
    };
    for (const auto& [value, message] : cases)
        EXPECT_EQ(qv::compress_category().message(value), message) << value;
}

TEST(compress_category, codes_compare_by_value_and_category) {
    const std::error_code code = qv::compress_error::unexpected;
    EXPECT_EQ(code.value(), 7);
    EXPECT_EQ(code.category(), qv::compress_category());
    EXPECT_NE(code, std::error_code(7, std::system_category()));
}

} // namespace
