#include "platform/os/registry_text.h"

#include "platform/os/unicode.h"

#include <cstdio>

namespace platform::os {
namespace {

char16_t unit_at(std::string_view utf16le, std::size_t index) {
    return static_cast<char16_t>(static_cast<unsigned char>(utf16le[2 * index]) |
                                 (static_cast<unsigned char>(utf16le[2 * index + 1]) << 8));
}

void append_unit(std::string& utf16le, char16_t unit) {
    utf16le += static_cast<char>(unit & 0xFF);
    utf16le += static_cast<char>(unit >> 8);
}

// The letter of the C escape of a control character, or 0 when it has none.
char c_escape_letter(char16_t unit) {
    switch (unit) {
    case 7:
        return 'a';
    case 8:
        return 'b';
    case 9:
        return 't';
    case 10:
        return 'n';
    case 11:
        return 'v';
    case 12:
        return 'f';
    case 13:
        return 'r';
    case 27:
        return 'e';
    default:
        return 0;
    }
}

char16_t control_of_letter(char letter) {
    switch (letter) {
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 't':
        return 9;
    case 'n':
        return 10;
    case 'v':
        return 11;
    case 'f':
        return 12;
    case 'r':
        return 13;
    case 'e':
        return 27;
    default:
        return 0;
    }
}

bool is_octal_digit(char c) {
    return c >= '0' && c <= '7';
}

bool needs_backslash(char16_t unit, escaped_text kind) {
    if (unit == '\\')
        return true;
    return kind == escaped_text::key_path ? unit == '[' || unit == ']' : unit == '"';
}

} // namespace

bool is_hex_digit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

unsigned hex_digit_value(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

void append_escaped(std::string& out, std::string_view utf16le, escaped_text kind) {
    const std::size_t count = utf16le.size() / 2;
    char escape[8];
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = unit_at(utf16le, i);
        if (unit > 127) {
            std::snprintf(escape, sizeof escape, "\\x%04x", static_cast<unsigned>(unit));
            out += escape;
        } else if (unit < 32) {
            if (const char letter = c_escape_letter(unit)) {
                out += '\\';
                out += letter;
                continue;
            }
            // A following octal digit would be read as part of a shorter escape.
            const bool digit_follows =
                i + 1 < count && unit_at(utf16le, i + 1) >= '0' && unit_at(utf16le, i + 1) <= '7';
            std::snprintf(escape, sizeof escape, digit_follows ? "\\%03o" : "\\%o",
                          static_cast<unsigned>(unit));
            out += escape;
        } else {
            if (needs_backslash(unit, kind))
                out += '\\';
            out += static_cast<char>(unit);
        }
    }
}

unescaped_text parse_escaped(std::string_view line, char end) {
    unescaped_text text;
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == end) {
            text.consumed = i + 1;
            return text;
        }
        if (static_cast<unsigned char>(c) >= 0x80) {
            const std::size_t start = i;
            while (i < line.size() && static_cast<unsigned char>(line[i]) >= 0x80)
                ++i;
            text.utf16le += to_utf16le(from_utf8(line.substr(start, i - start)));
            continue;
        }
        ++i;
        if (c != '\\') {
            append_unit(text.utf16le, static_cast<unsigned char>(c));
            continue;
        }
        if (i == line.size())
            throw registry_syntax_error("broken escape at the end of the line");
        const char letter = line[i++];
        switch (letter) {
        case '\\':
        case '"':
        case '[':
        case ']':
            append_unit(text.utf16le, static_cast<char16_t>(letter));
            break;
        case 'x': {
            unsigned value = 0;
            int digits = 0;
            for (; digits < 4 && i < line.size() && is_hex_digit(line[i]); ++digits)
                value = value * 16 + hex_digit_value(line[i++]);
            if (digits == 0)
                throw registry_syntax_error("broken escape: \\x without hex digits");
            append_unit(text.utf16le, static_cast<char16_t>(value));
            break;
        }
        default: {
            if (const char16_t control = control_of_letter(letter)) {
                append_unit(text.utf16le, control);
                break;
            }
            if (!is_octal_digit(letter))
                throw registry_syntax_error(std::string("broken escape: unknown escape \\") +
                                            letter);
            unsigned value = static_cast<unsigned>(letter - '0');
            for (int digits = 1; digits < 3 && i < line.size() && is_octal_digit(line[i]); ++digits)
                value = value * 8 + static_cast<unsigned>(line[i++] - '0');
            append_unit(text.utf16le, static_cast<char16_t>(value));
            break;
        }
        }
    }
    throw registry_syntax_error(std::string("missing closing ") + end);
}

} // namespace platform::os
