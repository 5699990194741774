#pragma once
// Collects the payload's header and entry table from decompressed bytes as they arrive, and
// parses the table once exactly data_offset bytes are held. Nothing past data_offset is taken,
// so the content that follows is left to the caller.

#include "payload/payload_entry.h"
#include "support/memstream.h"

#include <cstdint>
#include <span>
#include <vector>

namespace qv {

class table_reader {
public:
    // Takes the leading bytes that still belong to the header or the table and returns how many
    // it took; nothing once the table is complete. Throws std::system_error with
    // compress_error::unexpected for a data_offset out of range or records that run past it.
    std::size_t take(std::span<const char> bytes);

    bool complete() const { return complete_; }
    // Known once the first 8 bytes have arrived; 0 before.
    std::uint64_t data_offset() const { return data_offset_; }
    // The records, in table order, once complete.
    std::vector<payload_entry>& entries() { return entries_; }

private:
    std::size_t append(std::span<const char> bytes, std::uint64_t up_to);
    std::span<const char> collected() const { return collected_.rdbuf()->contents(); }

    memstream collected_;
    std::uint64_t data_offset_ = 0;
    std::vector<payload_entry> entries_;
    bool complete_ = false;
};

} // namespace qv
