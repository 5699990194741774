#include "engine/compact_path.h"

namespace qv {
namespace {

constexpr std::wstring_view ellipsis = L"...";

} // namespace

std::wstring compact_path(std::wstring_view path, int width,
                          const platform::ui::text_metrics& metrics) {
    if (metrics.text_width(path) <= width)
        return std::wstring(path);
    const auto last_separator = path.rfind(L'\\');
    const std::wstring_view name =
        last_separator == std::wstring_view::npos ? path : path.substr(last_separator);
    for (auto kept = path.size() - name.size(); kept-- > 0;) {
        std::wstring shortened = std::wstring(path.substr(0, kept)) + std::wstring(ellipsis);
        shortened += name;
        if (metrics.text_width(shortened) <= width)
            return shortened;
    }
    for (auto kept = name.size(); kept-- > 0;) {
        std::wstring shortened = std::wstring(name.substr(0, kept)) + std::wstring(ellipsis);
        if (metrics.text_width(shortened) <= width)
            return shortened;
    }
    return std::wstring(ellipsis);
}

} // namespace qv
