#pragma once
// What the extraction tells its caller at each step, and how the caller steers it.

#include "payload/payload_entry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <variant>

namespace qv {

namespace notifications {

// Once, before any byte of the payload is read.
struct started {};
// Once, after a complete and consistent extraction.
struct finished {
    std::uint64_t compressed_bytes = 0;
    // data_offset plus every entry's size.
    std::uint64_t total = 0;
};
// Before an entry's file is created. The entry stays valid until the extraction returns.
struct file_begin {
    const payload_entry* entry = nullptr;
};
// After an entry's file has been written, closed and verified; not for skipped entries.
struct file_end {
    const payload_entry* entry = nullptr;
};
// Once when the table has been read, then after every chunk of content.
struct progress {
    std::uint64_t position = 0;
    std::uint64_t total = 0;
};
// Once, when the extraction fails: the code and the file concerned, possibly none.
struct failed {
    std::error_code code;
    std::wstring path;
};

} // namespace notifications

// The alternatives' order is the tag value (index()).
using notification_variant =
    std::variant<notifications::started, notifications::finished, notifications::file_begin,
                 notifications::file_end, notifications::progress, notifications::failed>;

struct notification : notification_variant {
    using notification_variant::notification_variant;

    using started = notifications::started;
    using finished = notifications::finished;
    using file_begin = notifications::file_begin;
    using file_end = notifications::file_end;
    using progress = notifications::progress;
    using failed = notifications::failed;

    // cancel is honoured after file_begin, progress and file_end; skip only after file_begin
    // (elsewhere it means proceed). The answers to started, finished and failed are ignored.
    enum class result : std::uint32_t { proceed = 0, cancel = 1, skip = 2 };
};

// Called on the extracting thread at each step; must not be empty.
using extraction_callback = std::function<notification::result(notification)>;

} // namespace qv
