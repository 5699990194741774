#include "engine/uninstall_log.h"

#include "platform/os/ansi_code_page.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace qv {
namespace os = platform::os;
namespace {

// A line of the log holds at most this many bytes; a longer one ends the reading.
constexpr std::size_t max_line_bytes = 1024;

constexpr std::wstring_view log_title = L"Uninstall Log File v";
constexpr std::wstring_view install_word = L"Install";
constexpr std::wstring_view install_path_label = L"Install Path : ";
constexpr std::wstring_view shortcut_path_label = L"Shortcut Path : ";

bool is_blank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

std::wstring_view trim_end(std::wstring_view text) {
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::wstring_view trim_start(std::wstring_view text) {
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::wstring_view trim(std::wstring_view text) {
    return trim_start(trim_end(text));
}

// The whole file as bytes; what was read before a read error, which ends the reading.
struct file_bytes {
    std::string bytes;
    bool complete = false;
};

std::optional<file_bytes> read_file(std::wstring_view path) {
    auto file = os::create_file(path, os::file_access::generic_read, os::file_share::read,
                                os::creation::open_existing);
    if (!file)
        return std::nullopt;
    file_bytes content;
    std::array<std::byte, 16384> chunk{};
    for (;;) {
        auto count = file->read(chunk);
        if (!count)
            return content;
        if (*count == 0)
            break;
        content.bytes.append(reinterpret_cast<const char*>(chunk.data()), *count);
    }
    content.complete = true;
    return content;
}

// Splits the file into lines as the log reader sees them: each ends after a line feed or at
// the end of the file. None when a line is longer than the reader's buffer.
std::optional<std::list<std::wstring>> split_lines(const file_bytes& content) {
    const std::string& bytes = content.bytes;
    const bool utf16 = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                       static_cast<unsigned char>(bytes[1]) == 0xFE;
    const std::size_t unit = utf16 ? 2 : 1;
    std::list<std::wstring> lines;
    std::wstring line;
    std::size_t line_bytes = 0;
    std::size_t position = utf16 ? 2 : 0;
    for (; position + unit <= bytes.size(); position += unit) {
        const wchar_t c =
            utf16 ? static_cast<wchar_t>(static_cast<unsigned char>(bytes[position]) |
                                         static_cast<unsigned char>(bytes[position + 1]) << 8)
                  : os::from_ansi_byte(static_cast<unsigned char>(bytes[position]));
        line += c;
        line_bytes += unit;
        if (line_bytes > max_line_bytes)
            return lines.empty() ? std::nullopt : std::optional(std::move(lines));
        if (c == L'\n') {
            lines.push_back(std::move(line));
            line.clear();
            line_bytes = 0;
        }
    }
    // The last line ends at the end of the file; after a read error it is incomplete.
    if (content.complete && !line.empty())
        lines.push_back(std::move(line));
    return lines;
}

// A cursor over a record line: "0003:0101:1 -- C:\X\Y Z.exe".
class record_parser {
public:
    explicit record_parser(std::wstring_view line) : rest_(line) {}

    // A signed 32-bit integer as a stream reads one: blanks, an optional sign, digits. A value
    // out of range is a mismatch.
    std::optional<std::int32_t> number(int base) {
        rest_ = trim_start(rest_);
        std::size_t length = 0;
        const bool negative = !rest_.empty() && rest_.front() == L'-';
        if (!rest_.empty() && (rest_.front() == L'-' || rest_.front() == L'+'))
            ++length;
        const std::int64_t limit = negative ? std::int64_t{INT32_MAX} + 1 : INT32_MAX;
        std::int64_t magnitude = 0;
        const std::size_t first_digit = length;
        for (; length < rest_.size(); ++length) {
            const int digit = digit_value(rest_[length], base);
            if (digit < 0)
                break;
            magnitude = magnitude * base + digit;
            if (magnitude > limit)
                return std::nullopt;
        }
        if (length == first_digit)
            return std::nullopt;
        rest_.remove_prefix(length);
        return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    }

    bool character(wchar_t expected) {
        rest_ = trim_start(rest_);
        if (rest_.empty() || rest_.front() != expected)
            return false;
        rest_.remove_prefix(1);
        return true;
    }

    std::optional<wchar_t> any_of(std::wstring_view choices) {
        rest_ = trim_start(rest_);
        if (rest_.empty() || choices.find(rest_.front()) == std::wstring_view::npos)
            return std::nullopt;
        const wchar_t c = rest_.front();
        rest_.remove_prefix(1);
        return c;
    }

    std::wstring_view word() {
        rest_ = trim_start(rest_);
        std::size_t length = 0;
        while (length < rest_.size() && !is_blank(rest_[length]))
            ++length;
        const std::wstring_view found = rest_.substr(0, length);
        rest_.remove_prefix(length);
        return found;
    }

    std::wstring_view rest() const { return trim_start(rest_); }

private:
    static int digit_value(wchar_t c, int base) {
        if (c >= L'0' && c <= L'9')
            return c - L'0';
        if (base == 16 && c >= L'a' && c <= L'f')
            return c - L'a' + 10;
        if (base == 16 && c >= L'A' && c <= L'F')
            return c - L'A' + 10;
        return -1;
    }

    std::wstring_view rest_;
};

std::optional<log_record> parse_record(std::wstring_view line) {
    record_parser parser(line);
    const auto position = parser.number(10);
    if (!position || *position < 0 || !parser.character(L':'))
        return std::nullopt;
    const auto value = parser.number(16);
    if (!value || (*value >> 8) < 0 || (*value >> 8) > 6 || !parser.character(L':'))
        return std::nullopt;
    const auto done = parser.any_of(L"01");
    if (!done || parser.word() != L"--")
        return std::nullopt;
    log_record record;
    record.kind = static_cast<log_record_kind>(*value >> 8);
    if (record.kind != log_record_kind::uninstall_key &&
        record.kind != log_record_kind::registration)
        record.path = std::wstring(parser.rest());
    record.done = *done == L'1';
    const std::int32_t low = static_cast<std::int32_t>(*value & 0xFF);
    record.entry_kind_value = low == 0xFF ? -1 : low;
    return record;
}

bool is_existing_folder(const std::wstring& path) {
    if (path.empty())
        return false;
    const auto attributes = os::get_file_attributes(path);
    return attributes && (*attributes & os::file_attribute::directory);
}

// The text after the first occurrence of label, trimmed; none when the label is missing.
std::optional<std::wstring> after_label(std::wstring_view line, std::wstring_view label) {
    const std::size_t found = line.find(label);
    if (found == std::wstring_view::npos)
        return std::nullopt;
    std::wstring rest(line.substr(0, found));
    rest += line.substr(found + label.size());
    return std::wstring(trim(rest));
}

} // namespace

void uninstall_log::read(std::optional<std::wstring_view> log_path) {
    previous_install_folder.clear();
    previous_shortcut_folder.clear();
    if (!log_path)
        return;
    const auto content = read_file(*log_path);
    if (!content)
        return;
    const auto lines = split_lines(*content);
    if (!lines)
        return;

    long version = 0;
    std::size_t index = 0;
    for (const std::wstring& raw : *lines) {
        const std::wstring_view line = trim_end(raw);
        if (line.starts_with(L"//")) {
            std::wstring_view header = line;
            while (header.starts_with(L'/'))
                header.remove_prefix(1);
            header = trim_start(header);
            if (index == 0) {
                const std::size_t found = header.find(log_title);
                if (found == std::wstring_view::npos)
                    return;
                std::wstring rest(header.substr(0, found));
                rest += header.substr(found + log_title.size());
                record_parser number(rest);
                const auto parsed = number.number(10);
                version = parsed && *parsed == 1 ? 1 : 0;
                if (version != 1)
                    return;
            } else if (index == 2) {
                auto product = after_label(header, install_word);
                if (!product)
                    return;
                if (const std::size_t dashes = product->find(L"--"); dashes != std::wstring::npos)
                    product->resize(dashes);
                previous_product = std::wstring(trim(*product));
            } else if (index == 3 || index == 4) {
                const auto folder =
                    after_label(header, index == 3 ? install_path_label : shortcut_path_label);
                if (!folder)
                    return;
                if (is_existing_folder(*folder))
                    (index == 3 ? previous_install_folder : previous_shortcut_folder) = *folder;
            }
        } else {
            if (version != 1)
                return;
            auto record = parse_record(line);
            if (!record)
                return;
            previous_records.push_back(std::move(*record));
        }
        ++index;
    }
}

bool uninstall_log::is_installed_file(std::wstring_view path) const {
    for (const log_record& record : previous_records) {
        if (record.kind == log_record_kind::file && record.done && record.path == path)
            return true;
    }
    return false;
}

} // namespace qv
