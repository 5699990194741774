#include "app/language_locale.h"
#include "app/language_state.h"

#include "platform/os/locale.h"
#include "tests/support/host_locales.h"

#include <clocale>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <iomanip>
#include <sstream>
#include <string>

namespace os = platform::os;

namespace {

using namespace qv::languages;

// A Monday: 1 January 2024.
std::tm monday() {
    std::tm day{};
    day.tm_year = 124;
    day.tm_mday = 1;
    day.tm_wday = 1;
    return day;
}

// A weekday and numbers as the standard streams' global locale formats them.
std::string stream_formatted() {
    const std::tm day = monday();
    std::ostringstream stream;
    stream << std::put_time(&day, "%A") << ' ' << 1.5 << ' ' << 1234567;
    return stream.str();
}

// The same as the C runtime formats them, then as the streams do.
std::string formatted() {
    const std::tm day = monday();
    char weekday[64];
    std::strftime(weekday, sizeof weekday, "%A", &day);
    char number[64];
    std::snprintf(number, sizeof number, "%.1f", 1.5);
    return std::string(weekday) + ' ' + number + " | " + stream_formatted();
}

std::string c_runtime_category(int category) {
    return std::setlocale(category, nullptr);
}

TEST(language_locale, effective_lcid_and_locale_name_follow_the_users_locale) {
    const struct {
        const char* lang;
        qv::language_index language;
        std::uint32_t lcid;
        const char* name;
    } cases[] = {
        {"de_DE.UTF-8", german, 0x0407, "de-DE"},
        // The same language in another country: the table's LCID, the user's locale.
        {"de_AT.UTF-8", german, 0x0407, "de-AT"},
        {"pt_BR.UTF-8", portuguese, 0x0816, "pt-BR"},
        {"hr_HR.UTF-8", serbian_latin, 0x081A, "hr-HR"},
        {"sr_RS.UTF-8@latin", serbian_latin, 0x081A, "sr-Latn-CS"},
        {"en_GB.UTF-8", english, 0x0409, "en-GB"},
        // Another language: the table's LCID and its locale.
        {"fr_FR.UTF-8", german, 0x0407, "de-DE"},
        {"C", portuguese, 0x0816, "pt-PT"},
        {"C", spanish, 0x0C0A, "es-ES"},
        {"de_DE.UTF-8", chinese_simplified, 0x0804, "zh-CN"},
    };
    for (const auto& c : cases) {
        qv_test::set_user_locale(c.lang);
        EXPECT_EQ(qv::effective_lcid(c.language), c.lcid) << c.lang << ' ' << c.language;
        EXPECT_EQ(qv::language_locale_name(c.language), c.name) << c.lang << ' ' << c.language;
    }
}

TEST(language_locale, only_hebrew_is_right_to_left) {
    for (qv::language_index i = 0; i < count; ++i)
        EXPECT_EQ(qv::is_right_to_left(i), i == hebrew) << i;
}

TEST(language_locale, display_names_are_the_native_names_with_a_capital_letter) {
    qv_test::set_user_locale("C");
    const struct {
        qv::language_index language;
        const wchar_t* name;
    } cases[] = {
        {french, L"Fran\u00e7ais"},
        {english, L"English"},
        {german, L"Deutsch"},
        {spanish, L"Espa\u00f1ol"},
        {portuguese, L"Portugu\u00eas"},
        {danish, L"Dansk"},
        {turkish, L"T\u00fcrk\u00e7e"},
        {bulgarian, L"\u0411\u044a\u043b\u0433\u0430\u0440\u0441\u043a\u0438"},
        {chinese_simplified, L"\u4e2d\u6587"},
        {czech, L"\u010ce\u0161tina"},
        {norwegian, L"Norsk"},
        {greek, L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
        {polish, L"Polski"},
        {hebrew, L"\u05e2\u05d1\u05e8\u05d9\u05ea"},
        {vietnamese, L"Ti\u1ebfng Vi\u1ec7t"},
        {hungarian, L"Magyar"},
        {serbian_latin, L"Srpski"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::language_display_name(c.language), c.name) << c.language;
}

TEST(language_locale, the_record_starts_in_french_and_sets_the_thread_locale_only_then) {
    qv_test::set_user_locale("de_DE.UTF-8");
    qv::language_state& state = qv::language_state::instance();
    EXPECT_EQ(state.language, french);
    EXPECT_EQ(state.lcid, 0x040Cu);
    EXPECT_EQ(state.resource_module, nullptr);
    EXPECT_FALSE(state.right_to_left);
    EXPECT_EQ(os::thread_locale(), 0x040Cu);

    qv::set_language(hebrew);
    EXPECT_EQ(state.language, hebrew);
    EXPECT_EQ(state.lcid, 0x040Du);
    EXPECT_TRUE(state.right_to_left);
    qv::set_language(german);
    EXPECT_EQ(state.lcid, 0x0407u);
    EXPECT_FALSE(state.right_to_left);
    EXPECT_EQ(os::thread_locale(), 0x040Cu);
}

TEST(language_locale, setting_a_language_resolves_the_resource_module_anew) {
    qv_test::set_user_locale("C");
    qv::language_state& state = qv::language_state::instance();
    state.resource_module = std::shared_ptr<const os::resource_module>(
        std::shared_ptr<const os::resource_module>(), &os::own_module());
    qv::set_language(french);
    EXPECT_EQ(state.resource_module, nullptr);
}

TEST(language_locale, numbers_keep_a_full_stop_under_every_language) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"fr_FR", "de_DE"});
    qv::language_state::instance();
    EXPECT_EQ(c_runtime_category(LC_TIME), "fr_FR.UTF-8");
    EXPECT_EQ(formatted(), "lundi 1.5 | lundi 1.5 1234567");
    qv::set_language(german);
    EXPECT_EQ(c_runtime_category(LC_TIME), "de_DE.UTF-8");
    EXPECT_EQ(c_runtime_category(LC_NUMERIC), "C");
    EXPECT_EQ(formatted(), "Montag 1.5 | Montag 1.5 1234567");
    qv::set_language(japanese);
    EXPECT_EQ(c_runtime_category(LC_ALL), "C");
    EXPECT_EQ(formatted(), "Monday 1.5 | Monday 1.5 1234567");
}

TEST(language_locale, reselecting_the_current_language_leaves_the_locale_alone) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"de_DE"});
    qv::set_language(german);
    std::setlocale(LC_TIME, "C");
    qv::set_language(german);
    EXPECT_EQ(c_runtime_category(LC_TIME), "C");
    qv::set_language(english);
    qv::set_language(german);
    EXPECT_EQ(c_runtime_category(LC_TIME), "de_DE.UTF-8");
}

TEST(language_locale, process_locale_at_start_takes_the_users_conventions_but_not_numbers) {
    qv_test::set_user_locale("de_DE.UTF-8");
    qv_test::host_locales host({"de_DE"});
    ASSERT_FALSE(qv::initialize_process_locale());
    EXPECT_EQ(stream_formatted(), "Montag 1.5 1234567");
}

TEST(language_locale, process_locale_at_start_is_classic_without_the_host_locale) {
    qv_test::set_user_locale("ja_JP.UTF-8");
    ASSERT_FALSE(qv::initialize_process_locale());
    EXPECT_EQ(stream_formatted(), "Monday 1.5 1234567");
}

} // namespace
