#include "platform/os/locale.h"
#include "platform/os/process_locale.h"

#include "tests/support/host_locales.h"

#include <clocale>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <iomanip>
#include <locale.h>
#include <locale>
#include <sstream>
#include <string>
#include <thread>

namespace os = platform::os;

namespace {

constexpr std::uint32_t error_invalid_flags = 1004;

bool right_to_left(const std::wstring& signature) {
    return (signature[7] >> 11) & 1;
}

std::string c_runtime_category(int category) {
    return std::setlocale(category, nullptr);
}

// A Monday: 1 January 2024.
std::tm monday() {
    std::tm day{};
    day.tm_year = 124;
    day.tm_mday = 1;
    day.tm_wday = 1;
    return day;
}

std::string c_runtime_weekday() {
    const std::tm day = monday();
    char text[64];
    std::strftime(text, sizeof text, "%A", &day);
    return text;
}

std::string c_runtime_number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string stream_weekday() {
    const std::tm day = monday();
    std::ostringstream text;
    text << std::put_time(&day, "%A");
    return text.str();
}

std::string stream_number(double value) {
    std::ostringstream text;
    text << value << ' ' << 1234567;
    return text.str();
}

wchar_t stream_upper(wchar_t c) {
    return std::toupper(c, std::locale());
}

TEST(locale, user_default_language_from_the_host_locale) {
    const struct {
        const char* lang;
        std::uint16_t lang_id;
    } cases[] = {
        {"de_DE.UTF-8", 0x0407},
        {"de_AT.UTF-8", 0x0C07},
        {"zh_TW", 0x0404},
        {"zh_CN", 0x0804},
        {"sv_SE", 0x041D},
        {"fr_FR", 0x040C},
        {"pt_PT", 0x0816},
        {"pt_BR", 0x0416},
        {"es_ES", 0x0C0A},
        {"he_IL", 0x040D},
        {"en_GB.utf8", 0x0809},
        {"sr_RS@latin", 0x081A},
        {"sr_RS.UTF-8@latin", 0x081A},
        {"sr_RS", 0x281A},
        {"hr_HR", 0x041A},
        {"bs_BA", 0x141A},
        {"de", 0x0407},
        {"pt", 0x0416},
        {"zh", 0x0804},
        {"de_XX", 0x0407},
        {"de_AT@euro", 0x0C07},
        {"C", 0x0409},
        {"POSIX", 0x0409},
        {"C.UTF-8", 0x0409},
        {"xx_YY", 0x0409},
        {"", 0x0409},
    };
    for (const auto& c : cases) {
        qv_test::set_user_locale(c.lang);
        EXPECT_EQ(os::user_default_lang_id(), c.lang_id) << c.lang;
        EXPECT_EQ(os::user_default_lcid(), c.lang_id) << c.lang;
    }
}

TEST(locale, user_default_follows_lc_all_then_lc_messages_then_lang_at_each_call) {
    qv_test::set_user_locale("de_DE.UTF-8");
    ::setenv("LC_MESSAGES", "fr_FR.UTF-8", 1);
    EXPECT_EQ(os::user_default_lang_id(), 0x040C);
    ::setenv("LC_ALL", "it_IT.UTF-8", 1);
    EXPECT_EQ(os::user_default_lang_id(), 0x0410);
    ::setenv("LC_ALL", "", 1);
    EXPECT_EQ(os::user_default_lang_id(), 0x040C);
    ::setenv("LC_MESSAGES", "C", 1);
    EXPECT_EQ(os::user_default_lang_id(), 0x0409);
    ::unsetenv("LC_MESSAGES");
    EXPECT_EQ(os::user_default_lang_id(), 0x0407);
    ::unsetenv("LANG");
    EXPECT_EQ(os::user_default_lang_id(), 0x0409);
}

TEST(locale, names_of_lcids) {
    qv_test::set_user_locale("pt_BR.UTF-8");
    const struct {
        std::uint32_t lcid;
        const wchar_t* name;
    } cases[] = {
        {0x0407, L"de-DE"},
        {0x0409, L"en-US"},
        {0x0809, L"en-GB"},
        {0x0C0A, L"es-ES"},
        {0x0816, L"pt-PT"},
        {0x0404, L"zh-TW"},
        {0x0804, L"zh-CN"},
        {0x081A, L"sr-Latn-CS"},
        {0x241A, L"sr-Latn-RS"},
        {0x141A, L"bs-Latn-BA"},
        {0x041A, L"hr-HR"},
        {0x0401, L"ar-SA"},
        {0x0400, L"pt-BR"},
        {0x0800, L"pt-BR"},
        {0x0999, L""},
        {0x10407, L""},
        {0, L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(os::lcid_to_locale_name(c.lcid), c.name) << std::hex << c.lcid;

    EXPECT_EQ(os::locale_name_to_lcid(L"de-DE"), 0x0407u);
    EXPECT_EQ(os::locale_name_to_lcid(L"DE-de"), 0x0407u);
    EXPECT_EQ(os::locale_name_to_lcid(L"sr-latn-cs"), 0x081Au);
    EXPECT_EQ(os::locale_name_to_lcid(L"de"), 0u);
    EXPECT_EQ(os::locale_name_to_lcid(L"xx-YY"), 0u);
    EXPECT_EQ(os::locale_name_to_lcid(L""), 0u);
}

TEST(locale, every_known_lcid_has_a_name_that_leads_back_to_it) {
    qv_test::set_user_locale("C");
    int known = 0;
    for (std::uint32_t lcid = 0; lcid <= 0xFFFF; ++lcid) {
        if (lcid == os::locale_user_default || lcid == os::locale_system_default)
            continue;
        const std::wstring name = os::lcid_to_locale_name(lcid);
        if (name.empty())
            continue;
        ++known;
        EXPECT_EQ(os::locale_name_to_lcid(name), lcid) << std::hex << lcid;
    }
    EXPECT_GE(known, 35);
}

TEST(locale, native_language_names_as_the_system_spells_them) {
    const struct {
        std::uint32_t lcid;
        const wchar_t* name;
    } cases[] = {
        {0x040C, L"fran\u00e7ais"},
        {0x0409, L"English"},
        {0x0407, L"Deutsch"},
        {0x0C0A, L"espa\u00f1ol"},
        {0x0816, L"portugu\u00eas"},
        {0x0413, L"Nederlands"},
        {0x0406, L"dansk"},
        {0x041F, L"T\u00fcrk\u00e7e"},
        {0x0402, L"\u0431\u044a\u043b\u0433\u0430\u0440\u0441\u043a\u0438"},
        {0x0418, L"rom\u00e2n\u0103"},
        {0x0804, L"\u4e2d\u6587"},
        {0x0410, L"italiano"},
        {0x0405, L"\u010de\u0161tina"},
        {0x0414, L"norsk"},
        {0x0408, L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},
        {0x0415, L"polski"},
        {0x040D, L"\u05e2\u05d1\u05e8\u05d9\u05ea"},
        {0x042A, L"Ti\u1ebfng Vi\u1ec7t"},
        {0x0411, L"\u65e5\u672c\u8a9e"},
        {0x040E, L"magyar"},
        {0x081A, L"srpski"},
        {0x041D, L"svenska"},
    };
    for (const auto& c : cases) {
        const auto name = os::get_locale_info(c.lcid, os::locale_info::native_language_name);
        ASSERT_TRUE(name) << std::hex << c.lcid;
        EXPECT_EQ(*name, c.name) << std::hex << c.lcid;
    }
    qv_test::set_user_locale("hu_HU.UTF-8");
    EXPECT_EQ(*os::get_locale_info(os::locale_user_default, os::locale_info::native_language_name),
              L"magyar");
}

TEST(locale, font_signature_marks_only_hebrew_and_arabic_scripts_right_to_left) {
    for (std::uint32_t lcid = 1; lcid <= 0xFFFF; ++lcid) {
        if (lcid == os::locale_user_default || lcid == os::locale_system_default ||
            os::lcid_to_locale_name(lcid).empty())
            continue;
        const auto signature = os::get_locale_info(lcid, os::locale_info::font_signature);
        ASSERT_TRUE(signature) << std::hex << lcid;
        ASSERT_EQ(signature->size(), 16u) << std::hex << lcid;
        for (wchar_t unit : *signature)
            EXPECT_LE(static_cast<std::uint32_t>(unit), 0xFFFFu) << std::hex << lcid;
        const std::uint16_t language = os::primary_language(os::lang_id_of(lcid));
        const bool hebrew_or_arabic_script =
            language == 0x0D || language == 0x01 || language == 0x29;
        EXPECT_EQ(right_to_left(*signature), hebrew_or_arabic_script) << std::hex << lcid;
    }
    // Western European languages have the Latin 1 code page (bit 0 of the default code pages).
    EXPECT_EQ((*os::get_locale_info(0x0407, os::locale_info::font_signature))[8] & 1, 1);
    EXPECT_EQ((*os::get_locale_info(0x0419, os::locale_info::font_signature))[8] & 1, 0);
}

TEST(locale, locale_info_fails_for_unknown_lcids_and_types) {
    const auto unknown = os::get_locale_info(0x0999, os::locale_info::native_language_name);
    ASSERT_FALSE(unknown);
    EXPECT_EQ(unknown.error(), os::make_error_code(os::win32_error::invalid_parameter));
    const auto with_sort = os::get_locale_info(0x10407, os::locale_info::native_language_name);
    EXPECT_EQ(with_sort.error(), os::make_error_code(os::win32_error::invalid_parameter));
    const auto unknown_type = os::get_locale_info(0x0407, 0x9999);
    ASSERT_FALSE(unknown_type);
    EXPECT_EQ(unknown_type.error(), os::win32_error_code(error_invalid_flags));
}

TEST(locale, thread_locale_is_the_users_until_the_thread_sets_one) {
    qv_test::set_user_locale("fr_FR.UTF-8");
    EXPECT_EQ(os::thread_locale(), 0x040Cu);
    EXPECT_FALSE(os::set_thread_locale(0x0407));
    EXPECT_EQ(os::thread_locale(), 0x0407u);
    EXPECT_EQ(os::set_thread_locale(0x0999),
              os::make_error_code(os::win32_error::invalid_parameter));
    EXPECT_EQ(os::thread_locale(), 0x0407u);
    std::uint32_t other_thread = 0;
    std::thread([&other_thread] { other_thread = os::thread_locale(); }).join();
    EXPECT_EQ(other_thread, 0x040Cu);
    EXPECT_FALSE(os::set_thread_locale(os::locale_user_default));
    EXPECT_EQ(os::thread_locale(), 0x040Cu);
}

TEST(locale, c_runtime_takes_the_host_locale_except_for_numbers) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"de_DE"});
    os::set_c_runtime_locale("de-DE");
    for (int category : {LC_CTYPE, LC_COLLATE, LC_TIME, LC_MONETARY})
        EXPECT_EQ(c_runtime_category(category), "de_DE.UTF-8") << category;
    EXPECT_EQ(c_runtime_category(LC_NUMERIC), "C");
    EXPECT_EQ(c_runtime_category(LC_MESSAGES), "C");
    EXPECT_EQ(c_runtime_weekday(), "Montag");
    EXPECT_EQ(c_runtime_number(1.5), "1.5");
}

TEST(locale, c_runtime_stays_c_without_the_host_locale) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"de_DE"});
    for (const char* name : {"ja-JP", "xx-YY"}) {
        os::set_c_runtime_locale("de-DE");
        os::set_c_runtime_locale(name);
        EXPECT_EQ(c_runtime_category(LC_ALL), "C") << name;
        EXPECT_EQ(c_runtime_weekday(), "Monday") << name;
    }
}

TEST(locale, c_runtime_with_an_empty_name_takes_the_environments_locale) {
    qv_test::set_user_locale("fr_FR.UTF-8");
    qv_test::host_locales host({"fr_FR"});
    os::set_c_runtime_locale("");
    EXPECT_EQ(c_runtime_category(LC_TIME), "fr_FR.UTF-8");
    EXPECT_EQ(c_runtime_category(LC_NUMERIC), "C");
    EXPECT_EQ(c_runtime_weekday(), "lundi");
    EXPECT_EQ(c_runtime_number(1.5), "1.5");
}

TEST(locale, stream_locale_takes_text_and_time_conventions_but_not_numbers) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"de_DE"});
    ASSERT_FALSE(os::set_stream_locale("de-DE"));
    EXPECT_EQ(stream_weekday(), "Montag");
    EXPECT_EQ(stream_upper(L'\u00e4'), L'\u00c4');
    EXPECT_EQ(stream_number(1.5), "1.5 1234567");
    EXPECT_EQ(c_runtime_number(1.5), "1.5");
}

TEST(locale, stream_locale_is_classic_without_the_host_locale) {
    qv_test::set_user_locale("C");
    qv_test::host_locales host({"de_DE"});
    ASSERT_FALSE(os::set_stream_locale("de-DE"));
    for (const char* name : {"ja-JP", "xx-YY"}) {
        ASSERT_FALSE(os::set_stream_locale(name)) << name;
        EXPECT_EQ(stream_weekday(), "Monday") << name;
        EXPECT_EQ(stream_upper(L'\u00e4'), L'\u00e4') << name;
    }
}

TEST(locale, process_wide_locale_replaces_a_threads_own) {
    qv_test::set_user_locale("C");
    bool follows_process = false;
    std::thread([&follows_process] {
        const locale_t own = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        ASSERT_NE(own, static_cast<locale_t>(nullptr));
        uselocale(own);
        os::use_process_wide_locale();
        follows_process = uselocale(static_cast<locale_t>(nullptr)) == LC_GLOBAL_LOCALE;
        freelocale(own);
    }).join();
    EXPECT_TRUE(follows_process);
}

} // namespace
