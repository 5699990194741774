#include "engine/log_text.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace qv {
namespace {

constexpr std::wstring_view line_end = L"\r\n";

// to_chars never consults the locale.
std::wstring zero_padded(std::uint32_t value, int base, std::size_t digits) {
    std::array<char, 16> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base).ptr;
    const std::size_t length = static_cast<std::size_t>(end - buffer.data());
    std::wstring text(length < digits ? digits - length : 0, L'0');
    text.append(buffer.data(), end);
    return text;
}

} // namespace

std::wstring record_line(std::size_t position, const log_record& record) {
    const std::uint32_t kind = static_cast<std::uint32_t>(record.kind) & 0xFF;
    const std::uint32_t entry_kind = static_cast<std::uint32_t>(record.entry_kind_value) & 0xFF;
    std::wstring line = zero_padded(static_cast<std::uint32_t>(position), 10, 4);
    line += L':';
    line += zero_padded(kind << 8 | entry_kind, 16, 4);
    line += L':';
    line += record.done ? L'1' : L'0';
    line += L" -- ";
    line += record.path;
    return line;
}

std::wstring log_text(const log_header& header, const std::list<log_record>& records) {
    std::wstring install_line = L"Install ";
    install_line += header.product;
    if (!header.previous_product.empty()) {
        install_line += L" -- Update (";
        install_line += header.previous_product;
        install_line += L")";
    }
    const std::wstring shortcut_line = L"Shortcut Path : " + std::wstring(header.shortcut_folder);
    const std::wstring header_lines[] = {
        L"Uninstall Log File v1",
        L"############ WARNING: Do not delete or modify this file. ############",
        install_line,
        L"Install Path : " + std::wstring(header.install_folder),
        shortcut_line,
        std::wstring(shortcut_line.size(), L'-'),
    };
    std::wstring text;
    for (const std::wstring& line : header_lines) {
        text += L"// ";
        text += line;
        text += line_end;
    }
    std::size_t position = 0;
    for (const log_record& record : records) {
        text += record_line(position++, record);
        text += line_end;
    }
    return text;
}

} // namespace qv
