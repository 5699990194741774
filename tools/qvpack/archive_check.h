#pragma once
// Follows a decompressed payload archive as it arrives, the way the installer reads it, and
// notes every way it departs from its own table.

#include "payload/payload_entry.h"
#include "payload/table_reader.h"

#include <boost/crc.hpp>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qvpack {

class archive_check {
public:
    // A payload_consumer. Throws tool_error when the header or the table is malformed, since
    // nothing after them can be read then.
    std::size_t consume(std::span<const char> bytes);

    // Once the input has ended: what is wrong, in archive order; empty for a sound archive.
    std::vector<std::string> finish();

    // Once the table has been read: the records, data_offset and the archive's whole length.
    bool table_read() const { return table_.complete(); }
    const std::vector<qv::payload_entry>& entries() const { return entries_; }
    std::uint64_t data_offset() const { return table_.data_offset(); }
    std::uint64_t length() const { return length_; }

private:
    std::size_t take_table(std::span<const char> bytes);
    std::size_t take_content(std::span<const char> bytes);
    // Completes the current entry and every zero-length one after it.
    void close_entries();
    std::string entry_name(std::size_t index) const;

    qv::table_reader table_;
    std::uint64_t header_seen_ = 0;
    std::vector<qv::payload_entry> entries_;
    std::uint64_t length_ = 0;
    std::uint64_t position_ = 0;
    std::size_t current_ = 0;
    std::uint64_t remaining_ = 0;
    boost::crc_32_type crc_;
    std::uint64_t surplus_ = 0;
    std::vector<std::string> problems_;
};

} // namespace qvpack
