#include "product/uninstaller/texts.h"

#include "platform/os/registry.h"
#include "platform/os/resources.h"
#include "product/uninstaller/product_keys.h"

#include <cstring>

namespace uninstaller {
namespace os = platform::os;
namespace {

std::wstring replaced(std::wstring text, std::wstring_view marker, std::wstring_view insertion) {
    for (std::size_t at = text.find(marker); at != std::wstring::npos;
         at = text.find(marker, at + insertion.size()))
        text.replace(at, marker.size(), insertion);
    return text;
}

} // namespace

qv::language_index text_language() {
    const auto key = os::open_key(os::predefined_key::local_machine, product_uninstall_key_path(),
                                  os::key_access::query_value);
    if (!key)
        return qv::languages::english;
    const auto value = os::query_value(*key, L"QvLanguage");
    if (!value || value->bytes.size() != sizeof(std::uint32_t))
        return qv::languages::english;
    std::uint32_t stored = 0;
    std::memcpy(&stored, value->bytes.data(), sizeof stored);
    const auto language = static_cast<qv::language_index>(stored);
    return qv::is_installer_language(language) ? language : qv::languages::english;
}

std::wstring text(qv::language_index language, std::uint32_t id, std::wstring_view first,
                  std::wstring_view second) {
    const auto language_id = static_cast<std::uint16_t>(qv::language_lcid(language) & 0xFFFF);
    const std::wstring pattern = os::load_string(os::own_module(), id, language_id);
    return replaced(replaced(pattern, L"%1", first), L"%2", second);
}

} // namespace uninstaller
