#include "app/language_locale.h"

#include "platform/os/locale.h"
#include "platform/os/process_locale.h"
#include "platform/os/unicode.h"

namespace qv {
namespace os = platform::os;

std::uint32_t effective_lcid(language_index i) {
    const std::uint32_t user = os::user_default_lcid();
    return os::lang_id_of(user) == language_lcid(i) ? user : language_lcid(i);
}

std::string language_locale_name(language_index i) {
    const std::uint32_t lcid = effective_lcid(i);
    const bool users_language = os::primary_language(os::user_default_lang_id()) ==
                                os::primary_language(os::lang_id_of(lcid));
    return os::to_utf8(os::lcid_to_locale_name(users_language ? os::locale_user_default : lcid));
}

void apply_language_locale(language_index i) {
    const std::string name = language_locale_name(i);
    // Only running out of memory fails here, and a language change must not stop the installer.
    os::set_stream_locale(name);
    os::set_c_runtime_locale(name);
}

std::error_code initialize_process_locale() {
    const std::string name = os::to_utf8(os::lcid_to_locale_name(os::locale_user_default));
    os::use_process_wide_locale();
    return os::set_stream_locale(name);
}

bool is_right_to_left(language_index i) {
    // Bit 123 of the signature: the layout progresses horizontally from right to left.
    constexpr std::size_t right_to_left = 123, unit = right_to_left / 16, bit = right_to_left % 16;
    const auto signature =
        os::get_locale_info(os::lang_id_of(language_lcid(i)), os::locale_info::font_signature);
    if (!signature || signature->size() <= unit)
        return i == languages::hebrew;
    return ((*signature)[unit] >> bit & 1) != 0;
}

std::wstring language_display_name(language_index i) {
    const auto name = os::get_locale_info(effective_lcid(i), os::locale_info::native_language_name);
    if (!name || name->empty())
        return {};
    std::wstring text = *name;
    text.front() = os::to_upper(text.front());
    return text;
}

} // namespace qv
