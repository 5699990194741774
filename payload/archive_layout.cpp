#include "payload/archive_layout.h"

#include "payload/compress_error.h"
#include "platform/os/unicode.h"

#include <limits>
#include <string_view>
#include <system_error>

namespace qv {
namespace {

[[noreturn]] void malformed() {
    throw std::system_error(compress_error::unexpected);
}

template <class Unsigned> Unsigned little_endian(std::span<const char> bytes) {
    Unsigned value = 0;
    for (std::size_t i = sizeof(Unsigned); i-- > 0;)
        value = static_cast<Unsigned>((value << 8) | static_cast<unsigned char>(bytes[i]));
    return value;
}

// Reads the table front to back; every read is checked against what is left.
class table_cursor {
public:
    explicit table_cursor(std::span<const char> bytes) : rest_(bytes) {}

    std::size_t left() const { return rest_.size(); }

    template <class Unsigned> Unsigned number() {
        return little_endian<Unsigned>(take(sizeof(Unsigned)));
    }

    std::wstring utf16_text() {
        const auto units = number<std::uint32_t>();
        if (units > left() / 2)
            malformed();
        const auto bytes = take(std::size_t{units} * 2);
        return platform::os::from_utf16le(std::string_view(bytes.data(), bytes.size()));
    }

private:
    std::span<const char> take(std::size_t count) {
        if (count > rest_.size())
            malformed();
        const auto taken = rest_.first(count);
        rest_ = rest_.subspan(count);
        return taken;
    }

    std::span<const char> rest_;
};

} // namespace

std::uint64_t read_data_offset(std::span<const char, payload_layout::data_offset_size> bytes) {
    const auto data_offset = little_endian<std::uint64_t>(bytes);
    if (data_offset < payload_layout::header_size ||
        data_offset >= payload_layout::data_offset_limit)
        malformed();
    return data_offset;
}

std::vector<payload_entry> read_entry_table(std::span<const char> head) {
    table_cursor cursor(head);
    cursor.number<std::uint64_t>();
    const auto count = cursor.number<std::uint32_t>();
    // Every record needs its fixed part, so a count that cannot fit is refused before any
    // memory is set aside for it.
    if (count > cursor.left() / payload_layout::fixed_record_size)
        malformed();
    std::vector<payload_entry> entries;
    entries.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        payload_entry entry;
        entry.source_path = cursor.utf16_text();
        entry.destination = cursor.utf16_text();
        entry.kind = cursor.number<std::uint32_t>();
        entry.size = cursor.number<std::uint64_t>();
        entry.crc = cursor.number<std::uint32_t>();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::uint64_t archive_length(std::uint64_t data_offset, const std::vector<payload_entry>& entries) {
    std::uint64_t length = data_offset;
    for (const auto& entry : entries) {
        if (entry.size > std::numeric_limits<std::uint64_t>::max() - length)
            malformed();
        length += entry.size;
    }
    return length;
}

} // namespace qv
