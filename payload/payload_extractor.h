#pragma once
// Receives the decompressed payload and unpacks it: collects and parses the entry table,
// resolves every entry's target, then writes each entry's file, reads it back and compares its
// CRC-32 before the next one begins, telling the callback at each step.

#include "locations/destination.h"
#include "locations/shared_folders.h"
#include "payload/entry_file.h"
#include "payload/notification.h"
#include "payload/payload_entry.h"
#include "payload/table_reader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qv {

class payload_extractor {
public:
    payload_extractor(target_folders folders, extraction_callback callback);

    // Takes the leading bytes that belong to the current part (the header, the table or one
    // entry) and returns how many: never more than the current entry still needs, and nothing
    // while a zero-length entry is begun and completed. Throws on any failure: the payload's
    // own codes (std::system_error, compress_error), payload_file_error, or what the callback
    // throws. After a failure everything is taken and ignored.
    std::size_t write(std::span<const char> bytes);

    // Once the input has ended: begins and completes the zero-length entries that come after the
    // last content byte, which no arriving byte would reach.
    void finish_trailing_entries();

    // The table has been read and exactly its data has been consumed, every entry completed.
    bool complete() const;
    // data_offset plus every entry's size; 0 until the table has been read.
    std::uint64_t total() const { return total_; }
    // The entry begun and not yet completed, if any.
    const payload_entry* started_entry() const;

private:
    std::size_t write_table(std::span<const char> bytes);
    std::size_t write_entry(std::span<const char> bytes);
    void begin_entry(payload_entry& entry);
    void complete_entry(payload_entry& entry);
    // Sends the notification; a cancel answer fails with compress_error::interrupted.
    notification::result send(notification message);

    target_folders folders_;
    extraction_callback callback_;
    std::optional<table_reader> table_ = table_reader();
    std::vector<payload_entry> entries_;
    std::uint64_t position_ = 0;
    std::uint64_t total_ = 0;
    std::optional<entry_file> output_;
    // Counting from 1; 0 while the header and the table are being collected.
    std::size_t entry_number_ = 0;
    std::uint64_t remaining_ = 0;
    bool started_ = false;
    bool skip_ = false;
    bool failed_ = false;
    shared_folder_list shared_;
};

} // namespace qv
