#include "platform/os/locale_table.h"

#include "platform/os/unicode.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace platform::os {
namespace {

using enum writing_script;

// The first locale of each language is the one a language alone stands for.
constexpr locale_entry locales[] = {
    {0x0409, L"en-US", "en_US", L"English", 1252, latin},
    {0x0809, L"en-GB", "en_GB", L"English", 1252, latin},
    {0x0C09, L"en-AU", "en_AU", L"English", 1252, latin},
    {0x1009, L"en-CA", "en_CA", L"English", 1252, latin},
    {0x1409, L"en-NZ", "en_NZ", L"English", 1252, latin},
    {0x1809, L"en-IE", "en_IE", L"English", 1252, latin},
    {0x1C09, L"en-ZA", "en_ZA", L"English", 1252, latin},
    {0x4009, L"en-IN", "en_IN", L"English", 1252, latin},
    {0x040C, L"fr-FR", "fr_FR", L"fran\u00e7ais", 1252, latin},
    {0x080C, L"fr-BE", "fr_BE", L"fran\u00e7ais", 1252, latin},
    {0x0C0C, L"fr-CA", "fr_CA", L"fran\u00e7ais", 1252, latin},
    {0x100C, L"fr-CH", "fr_CH", L"fran\u00e7ais", 1252, latin},
    {0x140C, L"fr-LU", "fr_LU", L"fran\u00e7ais", 1252, latin},
    {0x0407, L"de-DE", "de_DE", L"Deutsch", 1252, latin},
    {0x0807, L"de-CH", "de_CH", L"Deutsch", 1252, latin},
    {0x0C07, L"de-AT", "de_AT", L"Deutsch", 1252, latin},
    {0x1007, L"de-LU", "de_LU", L"Deutsch", 1252, latin},
    {0x1407, L"de-LI", "de_LI", L"Deutsch", 1252, latin},
    {0x0C0A, L"es-ES", "es_ES", L"espa\u00f1ol", 1252, latin},
    {0x080A, L"es-MX", "es_MX", L"espa\u00f1ol", 1252, latin},
    {0x2C0A, L"es-AR", "es_AR", L"espa\u00f1ol", 1252, latin},
    {0x240A, L"es-CO", "es_CO", L"espa\u00f1ol", 1252, latin},
    {0x340A, L"es-CL", "es_CL", L"espa\u00f1ol", 1252, latin},
    {0x540A, L"es-US", "es_US", L"espa\u00f1ol", 1252, latin},
    {0x0416, L"pt-BR", "pt_BR", L"portugu\u00eas", 1252, latin},
    {0x0816, L"pt-PT", "pt_PT", L"portugu\u00eas", 1252, latin},
    {0x0410, L"it-IT", "it_IT", L"italiano", 1252, latin},
    {0x0810, L"it-CH", "it_CH", L"italiano", 1252, latin},
    {0x0413, L"nl-NL", "nl_NL", L"Nederlands", 1252, latin},
    {0x0813, L"nl-BE", "nl_BE", L"Nederlands", 1252, latin},
    {0x0406, L"da-DK", "da_DK", L"dansk", 1252, latin},
    {0x041D, L"sv-SE", "sv_SE", L"svenska", 1252, latin},
    {0x081D, L"sv-FI", "sv_FI", L"svenska", 1252, latin},
    {0x0414, L"nb-NO", "nb_NO", L"norsk", 1252, latin},
    {0x0814, L"nn-NO", "nn_NO", L"norsk (nynorsk)", 1252, latin},
    {0x040B, L"fi-FI", "fi_FI", L"suomi", 1252, latin},
    {0x040F, L"is-IS", "is_IS", L"\u00edslenska", 1252, latin},
    {0x0403, L"ca-ES", "ca_ES", L"catal\u00e0", 1252, latin},
    {0x0421, L"id-ID", "id_ID", L"Indonesia", 1252, latin},
    {0x041F, L"tr-TR", "tr_TR", L"T\u00fcrk\u00e7e", 1254, latin},
    {0x0418, L"ro-RO", "ro_RO", L"rom\u00e2n\u0103", 1250, latin},
    {0x0405, L"cs-CZ", "cs_CZ", L"\u010de\u0161tina", 1250, latin},
    {0x041B, L"sk-SK", "sk_SK", L"sloven\u010dina", 1250, latin},
    {0x0415, L"pl-PL", "pl_PL", L"polski", 1250, latin},
    {0x040E, L"hu-HU", "hu_HU", L"magyar", 1250, latin},
    {0x0424, L"sl-SI", "sl_SI", L"sloven\u0161\u010dina", 1250, latin},
    {0x041A, L"hr-HR", "hr_HR", L"hrvatski", 1250, latin},
    {0x141A, L"bs-Latn-BA", "bs_BA", L"bosanski", 1250, latin},
    // Serbian in Latin script keeps the LCID it had before Serbia's own country code.
    {0x081A, L"sr-Latn-CS", "sr_RS@latin", L"srpski", 1250, latin},
    {0x241A, L"sr-Latn-RS", "sr_RS@latin", L"srpski", 1250, latin},
    {0x281A, L"sr-Cyrl-RS", "sr_RS", L"\u0441\u0440\u043f\u0441\u043a\u0438", 1251, cyrillic},
    {0x0425, L"et-EE", "et_EE", L"eesti", 1257, latin},
    {0x0426, L"lv-LV", "lv_LV", L"latvie\u0161u", 1257, latin},
    {0x0427, L"lt-LT", "lt_LT", L"lietuvi\u0173", 1257, latin},
    {0x0408, L"el-GR", "el_GR", L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac", 1253, greek},
    {0x0402, L"bg-BG", "bg_BG", L"\u0431\u044a\u043b\u0433\u0430\u0440\u0441\u043a\u0438", 1251,
     cyrillic},
    {0x0419, L"ru-RU", "ru_RU", L"\u0440\u0443\u0441\u0441\u043a\u0438\u0439", 1251, cyrillic},
    {0x0422, L"uk-UA", "uk_UA", L"\u0443\u043a\u0440\u0430\u0457\u043d\u0441\u044c\u043a\u0430",
     1251, cyrillic},
    {0x040D, L"he-IL", "he_IL", L"\u05e2\u05d1\u05e8\u05d9\u05ea", 1255, hebrew},
    {0x0401, L"ar-SA", "ar_SA", L"\u0627\u0644\u0639\u0631\u0628\u064a\u0629", 1256, arabic},
    {0x0C01, L"ar-EG", "ar_EG", L"\u0627\u0644\u0639\u0631\u0628\u064a\u0629", 1256, arabic},
    {0x0429, L"fa-IR", "fa_IR", L"\u0641\u0627\u0631\u0633\u0649", 1256, arabic},
    {0x0439, L"hi-IN", "hi_IN", L"\u0939\u093f\u0902\u0926\u0940", 0, devanagari},
    {0x041E, L"th-TH", "th_TH", L"\u0e44\u0e17\u0e22", 874, thai},
    {0x042A, L"vi-VN", "vi_VN", L"Ti\u1ebfng Vi\u1ec7t", 1258, vietnamese},
    {0x0804, L"zh-CN", "zh_CN", L"\u4e2d\u6587", 936, chinese},
    {0x0404, L"zh-TW", "zh_TW", L"\u4e2d\u6587", 950, chinese},
    {0x0C04, L"zh-HK", "zh_HK", L"\u4e2d\u6587", 950, chinese},
    {0x1004, L"zh-SG", "zh_SG", L"\u4e2d\u6587", 936, chinese},
    {0x0411, L"ja-JP", "ja_JP", L"\u65e5\u672c\u8a9e", 932, japanese},
    {0x0412, L"ko-KR", "ko_KR", L"\ud55c\uad6d\uc5b4", 949, korean},
};

// language_TERRITORY.codeset@modifier, each part but the language optional.
struct host_name_parts {
    std::string_view language;
    std::string_view territory;
    std::string_view modifier;
};

host_name_parts split_host_name(std::string_view name) {
    host_name_parts parts;
    if (const auto at = name.find('@'); at != std::string_view::npos) {
        parts.modifier = name.substr(at + 1);
        name = name.substr(0, at);
    }
    name = name.substr(0, name.find('.'));
    if (const auto underscore = name.find('_'); underscore != std::string_view::npos) {
        parts.territory = name.substr(underscore + 1);
        name = name.substr(0, underscore);
    }
    parts.language = name;
    return parts;
}

template <class Matches> const locale_entry* first_locale(Matches matches) {
    const auto found = std::find_if(std::begin(locales), std::end(locales), matches);
    return found == std::end(locales) ? nullptr : &*found;
}

} // namespace

const locale_entry* find_locale(std::uint32_t lcid) {
    return first_locale([lcid](const locale_entry& entry) { return entry.lang_id == lcid; });
}

const locale_entry* find_locale(std::wstring_view name) {
    return first_locale([name](const locale_entry& entry) { return iequals(entry.name, name); });
}

const locale_entry* find_host_locale(std::string_view host_name) {
    const host_name_parts wanted = split_host_name(host_name);
    if (wanted.language.empty())
        return nullptr;
    const auto search = [&wanted](bool same_territory, bool same_modifier) {
        return first_locale([&](const locale_entry& entry) {
            const host_name_parts parts = split_host_name(entry.host_name);
            return parts.language == wanted.language &&
                   (!same_territory || parts.territory == wanted.territory) &&
                   (!same_modifier || parts.modifier == wanted.modifier);
        });
    };
    for (const auto& [same_territory, same_modifier] :
         {std::pair{true, true}, {false, true}, {true, false}, {false, false}}) {
        if (const locale_entry* entry = search(same_territory, same_modifier))
            return entry;
    }
    return nullptr;
}

} // namespace platform::os
