#include "tools/qvpack/archive_writer.h"

#include "payload/archive_layout.h"
#include "platform/os/unicode.h"
#include "tools/qvpack/tool_error.h"

#include <limits>

namespace qvpack {
namespace {

template <class Unsigned> void put_number(std::string& out, Unsigned value) {
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void put_text(std::string& out, const std::wstring& text) {
    const std::string units = platform::os::to_utf16le(text);
    if (units.size() / 2 > std::numeric_limits<std::uint32_t>::max())
        throw tool_error("a path is too long for the archive");
    put_number(out, static_cast<std::uint32_t>(units.size() / 2));
    out += units;
}

} // namespace

std::string encode_table(const std::vector<qv::payload_entry>& entries) {
    if (entries.size() > std::numeric_limits<std::uint32_t>::max())
        throw tool_error("too many entries for the archive");
    std::string records;
    for (const auto& entry : entries) {
        put_text(records, entry.source_path);
        put_text(records, entry.destination);
        put_number(records, entry.kind);
        put_number(records, entry.size);
        put_number(records, entry.crc);
    }
    const std::uint64_t data_offset = qv::payload_layout::header_size + records.size();
    if (data_offset >= qv::payload_layout::data_offset_limit)
        throw tool_error("the entry table is too large for the archive (4 GiB or more)");
    std::string table;
    put_number(table, data_offset);
    put_number(table, static_cast<std::uint32_t>(entries.size()));
    return table + records;
}

} // namespace qvpack
