#include "tools/qvpack/archive_check.h"

#include "payload/archive_layout.h"
#include "platform/os/unicode.h"
#include "tools/qvpack/tool_error.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <system_error>

namespace qvpack {
namespace {

std::string hex32(std::uint32_t value) {
    std::ostringstream text;
    text << std::hex << std::setw(8) << std::setfill('0') << value;
    return text.str();
}

std::uint64_t utf16_units(const std::wstring& text) {
    return platform::os::to_utf16le(text).size() / 2;
}

// Where the records really end; the installer trusts data_offset alone.
std::uint64_t records_end(const std::vector<qv::payload_entry>& entries) {
    std::uint64_t end = qv::payload_layout::header_size;
    for (const auto& entry : entries)
        end += qv::payload_layout::fixed_record_size +
               2 * (utf16_units(entry.source_path) + utf16_units(entry.destination));
    return end;
}

} // namespace

std::size_t archive_check::consume(std::span<const char> bytes) {
    if (!table_.complete())
        return take_table(bytes);
    return take_content(bytes);
}

std::size_t archive_check::take_table(std::span<const char> bytes) {
    std::size_t taken = 0;
    try {
        taken = table_.take(bytes);
    } catch (const std::system_error&) {
        if (table_.data_offset() == 0)
            throw tool_error("the header's data_offset is out of range (12 to 2^32 - 1)");
        throw tool_error("the entry table does not fit before data_offset " +
                         std::to_string(table_.data_offset()));
    }
    header_seen_ += taken;
    if (!table_.complete())
        return taken;
    entries_ = std::move(table_.entries());
    try {
        length_ = qv::archive_length(table_.data_offset(), entries_);
    } catch (const std::system_error&) {
        throw tool_error("the entries' sizes add up to more than 2^64 - 1 bytes");
    }
    position_ = table_.data_offset();
    const auto end = records_end(entries_);
    if (end != table_.data_offset())
        problems_.push_back("the records end at byte " + std::to_string(end) +
                            " but data_offset is " + std::to_string(table_.data_offset()));
    current_ = 0;
    remaining_ = entries_.empty() ? 0 : entries_.front().size;
    if (!entries_.empty() && remaining_ == 0)
        close_entries();
    return taken;
}

std::size_t archive_check::take_content(std::span<const char> bytes) {
    if (current_ >= entries_.size()) {
        surplus_ += bytes.size();
        return bytes.size();
    }
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), remaining_));
    crc_.process_bytes(bytes.data(), take);
    remaining_ -= take;
    position_ += take;
    if (remaining_ == 0)
        close_entries();
    return take;
}

void archive_check::close_entries() {
    while (current_ < entries_.size() && remaining_ == 0) {
        const auto& entry = entries_[current_];
        if (crc_.checksum() != entry.crc)
            problems_.push_back(entry_name(current_) + ": the content's CRC-32 is " +
                                hex32(crc_.checksum()) + ", the table says " + hex32(entry.crc));
        crc_.reset();
        ++current_;
        remaining_ = current_ < entries_.size() ? entries_[current_].size : 0;
    }
}

std::string archive_check::entry_name(std::size_t index) const {
    return "entry " + std::to_string(index + 1) + " (" +
           platform::os::to_utf8(qv::source_file_name(entries_[index].source_path)) + ")";
}

std::vector<std::string> archive_check::finish() {
    auto problems = problems_;
    if (!table_.complete()) {
        const auto expected =
            table_.data_offset() ? table_.data_offset() : qv::payload_layout::data_offset_size;
        problems.push_back("the archive ends inside its header and table, after " +
                           std::to_string(header_seen_) + " of " + std::to_string(expected) +
                           " bytes");
    } else if (position_ < length_) {
        problems.push_back("the archive ends " + std::to_string(length_ - position_) +
                           " bytes early, in " + entry_name(current_));
    }
    if (surplus_ > 0)
        problems.push_back(std::to_string(surplus_) + " bytes follow the last entry's content");
    return problems;
}

} // namespace qvpack
