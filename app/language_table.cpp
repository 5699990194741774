#include "app/language_table.h"

#include "platform/os/locale.h"

#include <array>

namespace qv {
namespace {

struct language_entry {
    // The primary language of the user's default language that selects this one.
    std::uint16_t detected_primary_language;
    // The sub-languages that select it, as a bit set; 0 for any.
    std::uint32_t detected_sub_languages;
    std::uint32_t lcid;
    std::uint32_t string_block;
    std::uint16_t flag_icon;
};

constexpr std::uint32_t chinese_prc_or_singapore = 1u << 2 | 1u << 4;

constexpr std::array<language_entry, languages::count> table{{
    {0x0C, 0, 0x040C, 1000, 144},
    {0x09, 0, 0x0409, 2000, 145},
    {0x07, 0, 0x0407, 3000, 141},
    {0x0A, 0, 0x0C0A, 4000, 143},
    {0x16, 0, 0x0816, 5000, 148},
    {0x13, 0, 0x0413, 7000, 147},
    {0x06, 0, 0x0406, 8000, 142},
    {0x1F, 0, 0x041F, 9000, 149},
    {0x02, 0, 0x0402, 11000, 150},
    {0x18, 0, 0x0418, 12000, 151},
    {0x04, chinese_prc_or_singapore, 0x0804, 10000, 152},
    {0x10, 0, 0x0410, 6000, 146},
    {0x05, 0, 0x0405, 13000, 153},
    {0x14, 0, 0x0414, 14000, 154},
    {0x08, 0, 0x0408, 15000, 155},
    {0x15, 0, 0x0415, 16000, 156},
    {0x0D, 0, 0x040D, 17000, 157},
    {0x2A, 0, 0x042A, 18000, 158},
    {0x11, 0, 0x0411, 19000, 160},
    {0x0E, 0, 0x040E, 20000, 161},
    {0x1A, 0, 0x081A, 21000, 162},
}};

bool selects(const language_entry& entry, std::uint16_t lang_id) {
    namespace os = platform::os;
    return os::primary_language(lang_id) == entry.detected_primary_language &&
           (entry.detected_sub_languages == 0 ||
            (entry.detected_sub_languages >> os::sub_language(lang_id) & 1) != 0);
}

const language_entry& entry_of(language_index i) {
    return table.at(static_cast<std::size_t>(i));
}

} // namespace

bool is_product_language(language_index i) {
    return contains(product_languages, i);
}

bool is_installer_language(language_index i) {
    return contains(installer_languages, i);
}

std::uint32_t language_lcid(language_index i) {
    return entry_of(i).lcid;
}

std::uint32_t language_string_block(language_index i) {
    return entry_of(i).string_block;
}

std::uint16_t language_flag_icon(language_index i) {
    return entry_of(i).flag_icon;
}

language_index select_default_language(language_set set) {
    const std::uint16_t user = platform::os::user_default_lang_id();
    for (language_index i = 0; i < languages::count; ++i) {
        if (contains(set, i) && selects(entry_of(i), user))
            return i;
    }
    return contains(set, languages::english) ? languages::english : languages::french;
}

} // namespace qv
