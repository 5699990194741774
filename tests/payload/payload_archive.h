#pragma once
// Writes payload archives for the tests, independently of the packer, so that every fault of the
// format can be made on purpose: the decompressed layout, its bzip2 form, and a plain bitwise
// CRC-32 to check the library's against.

#include "platform/os/unicode.h"

#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/back_inserter.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace payload_test {

inline std::uint32_t bitwise_crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ ((crc & 1) ? 0xEDB88320u : 0u);
    }
    return ~crc;
}

struct test_entry {
    std::wstring source_path;
    std::wstring destination;
    std::string content;
    std::uint32_t kind = 0;
    // A checksum other than the content's, to make a mismatch.
    std::optional<std::uint32_t> crc = std::nullopt;
};

template <class Unsigned> void put_number(std::string& out, Unsigned value) {
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

inline void put_text(std::string& out, std::wstring_view text) {
    const std::string units = platform::os::to_utf16le(text);
    put_number<std::uint32_t>(out, static_cast<std::uint32_t>(units.size() / 2));
    out += units;
}

inline std::string record_bytes(const test_entry& entry) {
    std::string record;
    put_text(record, entry.source_path);
    put_text(record, entry.destination);
    put_number<std::uint32_t>(record, entry.kind);
    put_number<std::uint64_t>(record, entry.content.size());
    put_number<std::uint32_t>(record, entry.crc.value_or(bitwise_crc32(entry.content)));
    return record;
}

// The header and the table; data_offset is the table's true length unless one is given.
inline std::string table_bytes(const std::vector<test_entry>& entries,
                               std::optional<std::uint64_t> data_offset = std::nullopt) {
    std::string records;
    for (const auto& entry : entries)
        records += record_bytes(entry);
    std::string table;
    put_number<std::uint64_t>(table, data_offset.value_or(12 + records.size()));
    put_number<std::uint32_t>(table, static_cast<std::uint32_t>(entries.size()));
    return table + records;
}

// The whole decompressed archive.
inline std::string archive_bytes(const std::vector<test_entry>& entries) {
    std::string archive = table_bytes(entries);
    for (const auto& entry : entries)
        archive += entry.content;
    return archive;
}

inline std::string bzip2(std::string_view bytes) {
    std::string compressed;
    boost::iostreams::filtering_ostream out;
    out.push(boost::iostreams::bzip2_compressor(boost::iostreams::bzip2_params(9)));
    out.push(boost::iostreams::back_inserter(compressed));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.reset();
    return compressed;
}

// Bytes that compress poorly, so that a test payload spans several decompressed chunks.
inline std::string varied_bytes(std::size_t size, std::uint32_t seed) {
    std::string bytes(size, '\0');
    for (auto& byte : bytes) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<char>(seed >> 24);
    }
    return bytes;
}

} // namespace payload_test
