#pragma once
// The escaped strings of the registry's text format. Text is handled as UTF-16LE bytes so that
// every code unit survives, unpaired surrogates and NULs included.

#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::os {

enum class escaped_text {
    key_path, // between '[' and ']', which are escaped
    quoted,   // between quotes, which are escaped
};

// Appends the UTF-16LE text escaped for the file: '\\' and the delimiters of kind with a
// backslash, control characters as C or octal escapes, characters above 127 as \x and 4 digits.
void append_escaped(std::string& out, std::string_view utf16le, escaped_text kind);

// A line of the file that cannot be read; the file reader adds the file and the line number.
class registry_syntax_error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct unescaped_text {
    std::string utf16le;
    std::size_t consumed = 0; // bytes of the line read, the closing delimiter included
};

// Reads escaped text up to the first unescaped end character. Raw UTF-8 is accepted. Throws
// registry_syntax_error for a broken escape or when the end character is missing.
unescaped_text parse_escaped(std::string_view line, char end);

bool is_hex_digit(char c);
unsigned hex_digit_value(char c);

} // namespace platform::os
