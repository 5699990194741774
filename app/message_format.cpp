#include "app/message_format.h"

#include <vector>

namespace qv {

namespace {

bool is_digit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

} // namespace

std::wstring format_message(std::wstring_view format,
                            std::initializer_list<std::wstring_view> arguments) {
    const std::vector<std::wstring_view> inserts(arguments);
    std::wstring out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const wchar_t next = format[i + 1];
        if (next == L'0')
            break;
        if (next == L'n') {
            out += L"\r\n";
            ++i;
            continue;
        }
        if (!is_digit(next)) {
            // "%%", "%.", "%!" and the like stand for the character itself.
            out += next;
            ++i;
            continue;
        }
        std::size_t end = i + 2;
        if (end < format.size() && is_digit(format[end]))
            ++end;
        const auto number = std::stoul(std::wstring(format.substr(i + 1, end - i - 1)));
        if (number >= 1 && number <= inserts.size())
            out += inserts[number - 1];
        else
            out += format.substr(i, end - i);
        i = end - 1;
    }
    return out;
}

} // namespace qv
