#include "app/language_table.h"

#include "tests/support/host_locales.h"

#include <gtest/gtest.h>

namespace {

using namespace qv::languages;

constexpr qv::language_set every_language = (qv::language_set{1} << count) - 1;

constexpr qv::language_set set_of(std::initializer_list<qv::language_index> indices) {
    qv::language_set set = 0;
    for (qv::language_index i : indices)
        set |= qv::language_set{1} << i;
    return set;
}

TEST(language_selection, preselection_follows_the_users_default_language) {
    const struct {
        const char* lang;
        qv::language_set set;
        qv::language_index expected;
    } cases[] = {
        {"sv_SE.UTF-8", qv::product_languages, english},
        {"fr_FR.UTF-8", qv::product_languages, french},
        {"de_DE.UTF-8", qv::product_languages, german},
        {"de_AT.UTF-8", qv::product_languages, german},
        {"hu_HU.UTF-8", qv::product_languages, hungarian},
        {"pl_PL.UTF-8", qv::product_languages, polish},
        {"zh_TW.UTF-8", qv::product_languages, english},
        // Chinese (PRC) is a language of the table but not a product language.
        {"zh_CN.UTF-8", qv::product_languages, english},
        {"he_IL.UTF-8", qv::product_languages, english},
        {"ru_RU.UTF-8", qv::product_languages, english},
        {"C", qv::product_languages, english},
        {"zh_CN.UTF-8", every_language, chinese_simplified},
        {"zh_SG.UTF-8", every_language, chinese_simplified},
        {"zh_TW.UTF-8", every_language, english},
        {"zh_HK.UTF-8", every_language, english},
        {"hr_HR.UTF-8", every_language, serbian_latin},
        {"bs_BA.UTF-8", every_language, serbian_latin},
        {"sr_RS.UTF-8@latin", every_language, serbian_latin},
        {"he_IL.UTF-8", every_language, hebrew},
        {"ja_JP.UTF-8", every_language, japanese},
        {"de_DE.UTF-8", set_of({french, english}), english},
        {"de_DE.UTF-8", set_of({spanish, italian}), french},
        {"sv_SE.UTF-8", set_of({german}), french},
    };
    for (const auto& c : cases) {
        qv_test::set_user_locale(c.lang);
        EXPECT_EQ(qv::select_default_language(c.set), c.expected) << c.lang;
    }
}

} // namespace
