#include "platform/os/locale.h"

#include "platform/os/locale_table.h"

#include <array>
#include <cstdlib>
#include <utility>
#include <vector>

namespace platform::os {
namespace {

constexpr std::uint16_t english_united_states = 0x0409;
constexpr std::uint32_t error_invalid_flags = 1004;

std::string_view user_locale_setting() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    }
    return {};
}

const locale_entry& user_locale() {
    if (const locale_entry* entry = find_host_locale(user_locale_setting()))
        return *entry;
    return *find_locale(english_united_states);
}

const locale_entry* resolve_locale(std::uint32_t lcid) {
    if (lcid == locale_user_default || lcid == locale_system_default)
        return &user_locale();
    return find_locale(lcid);
}

// The bits of a LOCALESIGNATURE: 128 Unicode subrange bits, then 64 bits of default code pages
// and 64 of supported ones.
class locale_signature {
public:
    explicit locale_signature(const locale_entry& entry) {
        set(0);
        for (int bit : subranges(entry.script))
            set(bit);
        if (const int bit = code_page_bit(entry.ansi_code_page); bit >= 0) {
            set(128 + bit);
            set(192 + bit);
        }
    }

    std::wstring units() const {
        std::wstring text;
        for (std::uint32_t word : words_) {
            text += static_cast<wchar_t>(word & 0xFFFF);
            text += static_cast<wchar_t>(word >> 16);
        }
        return text;
    }

private:
    static constexpr int right_to_left = 123;

    void set(int bit) { words_[bit / 32] |= 1u << (bit % 32); }

    static std::vector<int> subranges(writing_script script) {
        switch (script) {
        case writing_script::latin:
            return {1, 2, 3};
        case writing_script::greek:
            return {7};
        case writing_script::cyrillic:
            return {9};
        case writing_script::hebrew:
            return {11, right_to_left};
        case writing_script::arabic:
            return {13, right_to_left};
        case writing_script::devanagari:
            return {15};
        case writing_script::thai:
            return {24};
        case writing_script::vietnamese:
            return {1, 2, 3, 29};
        case writing_script::chinese:
            return {48, 59};
        case writing_script::japanese:
            return {48, 49, 50, 59};
        case writing_script::korean:
            return {48, 56, 59};
        }
        return {};
    }

    static int code_page_bit(std::uint16_t code_page) {
        static constexpr std::pair<std::uint16_t, int> bits[] = {
            {1252, 0}, {1250, 1}, {1251, 2}, {1253, 3}, {1254, 4}, {1255, 5}, {1256, 6},
            {1257, 7}, {1258, 8}, {874, 16}, {932, 17}, {936, 18}, {949, 19}, {950, 20}};
        for (const auto& [page, bit] : bits) {
            if (page == code_page)
                return bit;
        }
        return -1;
    }

    std::array<std::uint32_t, 8> words_{};
};

thread_local std::uint32_t chosen_thread_locale = 0;

} // namespace

std::uint16_t user_default_lang_id() {
    return user_locale().lang_id;
}

std::uint32_t user_default_lcid() {
    return user_locale().lang_id;
}

std::wstring lcid_to_locale_name(std::uint32_t lcid) {
    const locale_entry* entry = resolve_locale(lcid);
    return entry ? std::wstring(entry->name) : std::wstring();
}

std::uint32_t locale_name_to_lcid(std::wstring_view name) {
    const locale_entry* entry = find_locale(name);
    return entry ? entry->lang_id : 0;
}

result<std::wstring> get_locale_info(std::uint32_t lcid, std::uint32_t type) {
    const locale_entry* entry = resolve_locale(lcid);
    if (!entry)
        return win32_error::invalid_parameter;
    switch (type) {
    case locale_info::native_language_name:
        return std::wstring(entry->native_language_name);
    case locale_info::font_signature:
        return locale_signature(*entry).units();
    }
    return win32_error_code(error_invalid_flags);
}

std::uint32_t thread_locale() {
    return chosen_thread_locale != 0 ? chosen_thread_locale : user_default_lcid();
}

std::error_code set_thread_locale(std::uint32_t lcid) {
    const locale_entry* entry = resolve_locale(lcid);
    if (!entry)
        return make_error_code(win32_error::invalid_parameter);
    chosen_thread_locale = entry->lang_id;
    return {};
}

} // namespace platform::os
