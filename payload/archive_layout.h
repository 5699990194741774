#pragma once
// The byte layout of the decompressed payload: data_offset (u64), entry_count (u32), the entry
// records, then the contents of all entries back to back in table order. Integers are
// little-endian and unsigned; there is no padding. A record is: source length (u32, UTF-16 code
// units), source_path (UTF-16LE), destination length (u32), destination (UTF-16LE), kind (u32),
// size (u64), crc (u32).

#include "payload/payload_entry.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace qv::payload_layout {

// Where the payload lives in the installer's executable: integer resource type and name.
inline constexpr std::uint16_t resource_type = 260;
inline constexpr std::uint16_t resource_name = 134;

inline constexpr std::size_t data_offset_size = 8;
// data_offset and entry_count: the smallest table, without records.
inline constexpr std::uint64_t header_size = 12;
// A record without its two strings: two lengths, kind, size and crc.
inline constexpr std::uint64_t fixed_record_size = 24;
// The table is buffered whole before it is parsed, so its size must stay a 32-bit quantity.
inline constexpr std::uint64_t data_offset_limit = std::uint64_t{1} << 32;

} // namespace qv::payload_layout

namespace qv {

// data_offset from the archive's first 8 bytes. Throws std::system_error with
// compress_error::unexpected when it is below header_size or not below data_offset_limit.
std::uint64_t read_data_offset(std::span<const char, payload_layout::data_offset_size> bytes);

// The records of the table from the archive's first data_offset bytes (header included), in
// table order, with empty target paths. Throws std::system_error with
// compress_error::unexpected when the records do not fit before data_offset; nothing is read or
// allocated beyond what the bytes given can hold.
std::vector<payload_entry> read_entry_table(std::span<const char> head);

// data_offset plus every entry's size: the length of the whole decompressed archive. Throws
// std::system_error with compress_error::unexpected when that does not fit 64 bits.
std::uint64_t archive_length(std::uint64_t data_offset, const std::vector<payload_entry>& entries);

} // namespace qv
