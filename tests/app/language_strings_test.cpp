#include "app/language_state.h"
#include "app/localized_strings.h"

#include "app/language_resources.h"
#include "tests/support/host_locales.h"

#include <gtest/gtest.h>

namespace {

using namespace qv::languages;

constexpr std::uint32_t reinstallation = 104;
constexpr const wchar_t* english_reinstallation = L"Do you confirm Reinstallation ?";

class language_strings : public testing::Test {
protected:
    void SetUp() override { qv_test::set_user_locale("C"); }
};

TEST_F(language_strings, messages_resolve_to_the_current_languages_id) {
    const struct {
        qv::language_index language;
        std::uint32_t id;
    } cases[] = {
        {french, 1104},
        {english, 2104},
        {german, 3104},
        {italian, 6104},
        {turkish, 9104},
        {hungarian, 20104},
        // Not translated for the installer: English.
        {polish, 2104},
        {dutch, 2104},
        {hebrew, 2104},
    };
    for (const auto& c : cases) {
        qv::set_language(c.language);
        EXPECT_EQ(qv::resolve_string_id(1000 + reinstallation), c.id) << c.language;
    }
}

TEST_F(language_strings, texts_come_in_the_current_language) {
    qv::set_language(english);
    EXPECT_EQ(qv::localized_text(reinstallation), english_reinstallation);
    qv::set_language(turkish);
    const std::wstring turkish_text = qv::localized_text(reinstallation);
    EXPECT_EQ(turkish_text, qv::load_resource_string(9104));
    EXPECT_FALSE(turkish_text.empty());
    EXPECT_NE(turkish_text, L"#");
    EXPECT_NE(turkish_text, english_reinstallation);
    qv::set_language(polish);
    EXPECT_EQ(qv::load_resource_string(16104), L"#");
    EXPECT_EQ(qv::localized_text(reinstallation), english_reinstallation);
}

TEST_F(language_strings, a_message_without_an_entry_keeps_its_id_and_shows_empty) {
    constexpr std::uint32_t unused = 109;
    qv::set_language(turkish);
    EXPECT_EQ(qv::resolve_string_id(1000 + unused), 9109u);
    EXPECT_EQ(qv::localized_text(unused), L"");
}

} // namespace
