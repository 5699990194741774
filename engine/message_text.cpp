#include "engine/message_text.h"

#include "app/localized_strings.h"

namespace qv {

std::wstring localized_text(std::uint32_t n, std::wstring_view argument) {
    constexpr std::wstring_view marker = L"%1";
    std::wstring text = localized_text(n);
    for (auto at = text.find(marker); at != std::wstring::npos;
         at = text.find(marker, at + argument.size()))
        text.replace(at, marker.size(), argument);
    return text;
}

} // namespace qv
