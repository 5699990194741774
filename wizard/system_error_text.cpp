#include "wizard/system_error_text.h"

#include "platform/os/error.h"

namespace qv {

namespace os = platform::os;

std::wstring system_error_text(std::uint32_t code, std::uint16_t language) {
    auto message = os::format_system_message(code, language);
    if (!message.text && message.failure == os::win32_error::resource_lang_not_found)
        message = os::format_system_message(code, 0);
    if (!message.text) {
        const auto e_fail = static_cast<std::uint32_t>(os::hresults::e_fail);
        return code == e_fail ? L"Error" : system_error_text(e_fail, language);
    }
    std::wstring text = std::move(*message.text);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

} // namespace qv
