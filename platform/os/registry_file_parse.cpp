#include "platform/os/error.h"
#include "platform/os/registry_file.h"
#include "platform/os/registry_text.h"
#include "platform/os/unicode.h"

#include <charconv>
#include <utility>

namespace platform::os {
namespace {

constexpr std::string_view signature = "WINE REGISTRY Version 2";

std::string_view skip_blanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

void expect_end(std::string_view rest, const char* after) {
    if (!skip_blanks(rest).empty())
        throw registry_syntax_error(std::string("unexpected text after ") + after);
}

std::size_t count_hex_digits(std::string_view text) {
    std::size_t count = 0;
    while (count < text.size() && is_hex_digit(text[count]))
        ++count;
    return count;
}

std::uint64_t hex_number(std::string_view digits) {
    std::uint64_t value = 0;
    for (char c : digits)
        value = value * 16 + hex_digit_value(c);
    return value;
}

std::string little_endian_dword(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// The lines of the text, without their "\n" and an "\r" before it, counted from 1.
class line_reader {
public:
    explicit line_reader(std::string_view text) : text_(text) {}

    bool next(std::string_view& line) {
        if (position_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', position_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(position_, end - position_);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        position_ = end + 1;
        ++number_;
        return true;
    }

    std::size_t number() const { return number_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t number_ = 0;
};

class registry_parser {
public:
    explicit registry_parser(line_reader& lines) : lines_(lines) {}

    registry_document parse() {
        std::string_view line;
        if (!lines_.next(line) || line != signature)
            throw registry_syntax_error("not a registry file: the first line is not \"" +
                                        std::string(signature) + "\"");
        while (lines_.next(line))
            parse_line(line);
        end_preamble();
        return std::move(document_);
    }

private:
    void parse_line(std::string_view line) {
        const std::string_view text = skip_blanks(line);
        const char first = text.empty() ? '\0' : text.front();
        switch (first) {
        case '[':
            end_preamble();
            parse_key(text.substr(1));
            break;
        case '@':
        case '"':
            if (!current_)
                throw registry_syntax_error("value outside a key");
            parse_value(text);
            break;
        case '#':
            if (current_)
                parse_option(text);
            else
                document_.preamble.emplace_back(line);
            break;
        case ';':
        case '\0':
            if (!current_)
                document_.preamble.emplace_back(line);
            break;
        default:
            throw registry_syntax_error("unrecognized line");
        }
    }

    // Each key block starts with an empty line of its own, written with the block.
    void end_preamble() {
        while (!current_ && !document_.preamble.empty() &&
               skip_blanks(document_.preamble.back()).empty())
            document_.preamble.pop_back();
    }

    void parse_key(std::string_view rest) {
        const unescaped_text name = parse_escaped(rest, ']');
        rest = skip_blanks(rest.substr(name.consumed));
        std::uint64_t seconds = 0;
        if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
            const auto [end, error] =
                std::from_chars(rest.data(), rest.data() + rest.size(), seconds);
            if (error != std::errc())
                throw registry_syntax_error("bad time after the key name");
            rest.remove_prefix(static_cast<std::size_t>(end - rest.data()));
        }
        expect_end(rest, "the key name");

        const std::uint64_t modified = filetime_from_unix_seconds(seconds);
        registry_node* node = &document_.root;
        const std::wstring path = from_utf16le(name.utf16le);
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find(L'\\', start);
            if (end == std::wstring::npos)
                end = path.size();
            if (end > start) {
                auto& child = node->subkeys[path.substr(start, end - start)];
                if (!child) {
                    child = std::make_unique<registry_node>();
                    child->modified = modified;
                }
                node = child.get();
            }
            start = end + 1;
        }
        node->modified = modified;
        current_ = node;
    }

    void parse_option(std::string_view text) {
        constexpr std::string_view time_option = "#time=";
        if (!text.starts_with(time_option)) {
            current_->options.emplace_back(text);
            return;
        }
        const std::string_view digits = text.substr(time_option.size());
        const std::size_t count = count_hex_digits(digits);
        if (count == 0 || count > 16)
            throw registry_syntax_error("bad #time");
        expect_end(digits.substr(count), "#time");
        current_->modified = hex_number(digits.substr(0, count));
    }

    void parse_value(std::string_view text) {
        registry_value value;
        if (text.front() == '@') {
            text.remove_prefix(1);
        } else {
            const unescaped_text name = parse_escaped(text.substr(1), '"');
            value.name = from_utf16le(name.utf16le);
            text.remove_prefix(1 + name.consumed);
        }
        text = skip_blanks(text);
        if (text.empty() || text.front() != '=')
            throw registry_syntax_error("missing '=' after the value name");
        parse_data(value, skip_blanks(text.substr(1)));

        if (registry_value* existing = current_->find_value(value.name)) {
            existing->type = value.type;
            existing->bytes = std::move(value.bytes);
        } else {
            current_->values.push_back(std::move(value));
        }
    }

    void parse_data(registry_value& value, std::string_view data) {
        struct string_form {
            std::string_view tag;
            std::uint32_t type;
        };
        static constexpr string_form string_forms[] = {
            {"\"", 1}, {"str:\"", 1}, {"str(2):\"", 2}, {"str(7):\"", 7}};
        for (const auto& [tag, type] : string_forms) {
            if (!data.starts_with(tag))
                continue;
            data.remove_prefix(tag.size());
            const unescaped_text text = parse_escaped(data, '"');
            expect_end(data.substr(text.consumed), "the string");
            value.type = type;
            value.bytes = text.utf16le + std::string(2, '\0');
            return;
        }
        if (data.starts_with("dword:")) {
            data.remove_prefix(6);
            const std::size_t count = count_hex_digits(data);
            if (count == 0 || count > 8)
                throw registry_syntax_error("bad dword");
            expect_end(data.substr(count), "the dword");
            value.type = 4;
            value.bytes =
                little_endian_dword(static_cast<std::uint32_t>(hex_number(data.substr(0, count))));
            return;
        }
        if (data.starts_with("hex:")) {
            value.type = 3;
            value.bytes = parse_hex(data.substr(4));
            return;
        }
        if (data.starts_with("hex(")) {
            data.remove_prefix(4);
            const std::size_t count = count_hex_digits(data);
            if (count == 0 || count > 8 || !data.substr(count).starts_with("):"))
                throw registry_syntax_error("bad value type");
            value.type = static_cast<std::uint32_t>(hex_number(data.substr(0, count)));
            value.bytes = parse_hex(data.substr(count + 2));
            return;
        }
        throw registry_syntax_error("unknown kind of value data");
    }

    // Bytes as hex pairs separated by commas; a line ending in '\' continues on the next one.
    std::string parse_hex(std::string_view data) {
        std::string bytes;
        for (;;) {
            data = skip_blanks(data);
            while (!data.empty() && is_hex_digit(data.front())) {
                const std::size_t count = count_hex_digits(data);
                if (count > 2)
                    throw registry_syntax_error("bad hex byte");
                bytes += static_cast<char>(hex_number(data.substr(0, count)));
                data = skip_blanks(data.substr(count));
                if (!data.empty() && data.front() == ',')
                    data = skip_blanks(data.substr(1));
            }
            if (data.empty())
                return bytes;
            if (data.front() != '\\' || !skip_blanks(data.substr(1)).empty())
                throw registry_syntax_error("bad hex data");
            if (!lines_.next(data))
                throw registry_syntax_error("hex data cut off at the end of the file");
        }
    }

    line_reader& lines_;
    registry_document document_;
    registry_node* current_ = nullptr;
};

} // namespace

registry_file_error::registry_file_error(const std::string& file, std::size_t line,
                                         const std::string& reason)
    : std::system_error(make_error_code(win32_error::baddb), reason),
      message_(file + ":" + std::to_string(line) + ": " + reason), line_(line) {}

registry_document parse_registry_file(std::string_view text, const std::string& file) {
    line_reader lines(text);
    try {
        return registry_parser(lines).parse();
    } catch (const registry_syntax_error& error) {
        throw registry_file_error(file, lines.number() == 0 ? 1 : lines.number(), error.what());
    }
}

} // namespace platform::os
