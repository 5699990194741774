#include "engine/install_report.h"

#include "payload/compress_error.h"
#include "platform/os/error.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qv {
namespace os = platform::os;
namespace {

std::wstring code_text(const char* format, unsigned value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

} // namespace

std::wstring full_width_line(std::wstring_view text, int available_width,
                             const platform::ui::text_metrics& metrics) {
    std::wstring middle;
    if (!text.empty()) {
        middle = L" " + std::wstring(text) + L" ";
        available_width -= metrics.text_width(middle);
    }
    const int dashes = std::max(0, available_width / std::max(1, metrics.text_width(L"-")));
    if (middle.empty())
        return std::wstring(static_cast<std::size_t>(dashes), L'-') + L"\r\n";
    return std::wstring(static_cast<std::size_t>(dashes / 2), L'-') + middle +
           std::wstring(static_cast<std::size_t>((dashes + 1) / 2), L'-') + L"\r\n";
}

int progress_percent(std::uint64_t done, std::uint64_t total) {
    if (total == 0)
        return 0;
    const double exact = static_cast<double>(done) / static_cast<double>(total) * 100.0 + 0.5;
    const int percent = static_cast<int>(std::min(100.0, std::floor(exact)));
    return percent == 100 && done < total ? 99 : percent;
}

std::wstring failure_error_text(const std::error_code& code) {
    const auto value = static_cast<unsigned>(code.value());
    if (code.category() == os::win32_category())
        return code_text("1:%08X", value);
    if (code.category() == std::system_category())
        return code_text("1:%08X", os::win32_from_errno(code.value()));
    if (code.category() == std::generic_category())
        return code_text("2:%08X", value);
    if (code.category() == compress_category())
        return std::to_wstring(code.value());
    return L"7";
}

} // namespace qv
