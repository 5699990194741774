#include "app/language_table.h"

#include "platform/os/locale.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <stdexcept>

namespace os = platform::os;

namespace {

using namespace qv::languages;

TEST(language_table, product_and_installer_languages) {
    const std::set<qv::language_index> product = {french,  english,  german,  spanish, portuguese,
                                                  turkish, romanian, italian, polish,  hungarian};
    for (qv::language_index i = -1; i <= count; ++i) {
        EXPECT_EQ(qv::is_product_language(i), product.contains(i)) << i;
        EXPECT_EQ(qv::is_installer_language(i), product.contains(i) && i != polish) << i;
    }
}

TEST(language_table, every_language_has_a_known_locale_its_own_block_and_flag) {
    std::set<std::uint32_t> blocks;
    std::set<std::uint16_t> flags;
    for (qv::language_index i = 0; i < count; ++i) {
        EXPECT_FALSE(os::lcid_to_locale_name(qv::language_lcid(i)).empty()) << i;
        const std::uint32_t block = qv::language_string_block(i);
        EXPECT_EQ(block % 1000, 0u) << i;
        EXPECT_TRUE(block >= 1000 && block <= 21000) << i;
        EXPECT_TRUE(blocks.insert(block).second) << i;
        const std::uint16_t flag = qv::language_flag_icon(i);
        EXPECT_TRUE(flag >= 141 && flag <= 162) << i;
        EXPECT_TRUE(flags.insert(flag).second) << i;
    }
    EXPECT_EQ(qv::language_string_block(italian), 6000u);
    EXPECT_EQ(qv::language_string_block(chinese_simplified), 10000u);
    EXPECT_THROW(qv::language_lcid(count), std::out_of_range);
    EXPECT_THROW(qv::language_string_block(-1), std::out_of_range);
}

} // namespace
