#include "payload/payload_extractor.h"

#include "payload/archive_layout.h"
#include "payload/compress_error.h"
#include "payload/file_crc32.h"
#include "payload/payload_file_error.h"
#include "platform/os/windows_path.h"

#include <algorithm>
#include <system_error>

namespace qv {

payload_extractor::payload_extractor(target_folders folders, extraction_callback callback)
    : folders_(std::move(folders)), callback_(std::move(callback)) {}

std::size_t payload_extractor::write(std::span<const char> bytes) {
    if (failed_)
        return bytes.size();
    try {
        return entry_number_ == 0 ? write_table(bytes) : write_entry(bytes);
    } catch (...) {
        failed_ = true;
        throw;
    }
}

std::size_t payload_extractor::write_table(std::span<const char> bytes) {
    const auto taken = table_->take(bytes);
    if (!table_->complete())
        return taken;
    entries_ = std::move(table_->entries());
    const auto data_offset = table_->data_offset();
    table_.reset();
    for (auto& entry : entries_) {
        entry.target_path =
            platform::os::path_join(resolve_destination(entry.destination, folders_, shared_),
                                    source_file_name(entry.source_path));
    }
    position_ = data_offset;
    total_ = archive_length(data_offset, entries_);
    send(notification::progress{position_, total_});
    entry_number_ = 1;
    return taken;
}

std::size_t payload_extractor::write_entry(std::span<const char> bytes) {
    if (entry_number_ > entries_.size())
        throw std::system_error(compress_error::unexpected);
    auto& entry = entries_[entry_number_ - 1];
    if (!started_)
        begin_entry(entry);
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), remaining_));
    if (!skip_)
        output_->write(bytes.first(take));
    remaining_ -= take;
    position_ += take;
    send(notification::progress{position_, total_});
    if (remaining_ == 0) {
        if (!skip_)
            complete_entry(entry);
        ++entry_number_;
        started_ = false;
        skip_ = false;
    }
    return take;
}

void payload_extractor::begin_entry(payload_entry& entry) {
    const auto answer = send(notification::file_begin{&entry});
    remaining_ = entry.size;
    started_ = true;
    skip_ = answer == notification::result::skip;
    if (!skip_)
        output_.emplace(entry.target_path, shared_);
}

void payload_extractor::complete_entry(payload_entry& entry) {
    output_->close();
    output_.reset();
    const auto crc = file_crc32(entry.target_path);
    if (!crc)
        throw payload_file_error("file_crc32", entry.target_path, crc.error());
    if (*crc != entry.crc)
        throw std::system_error(compress_error::invalid_checksum);
    send(notification::file_end{&entry});
}

notification::result payload_extractor::send(notification message) {
    const auto answer = callback_(std::move(message));
    if (answer == notification::result::cancel)
        throw std::system_error(compress_error::interrupted);
    return answer;
}

void payload_extractor::finish_trailing_entries() {
    if (failed_ || entry_number_ == 0 || position_ != total_)
        return;
    while (entry_number_ <= entries_.size())
        write({});
}

bool payload_extractor::complete() const {
    return !failed_ && total_ != 0 && position_ == total_ && entry_number_ > entries_.size();
}

const payload_entry* payload_extractor::started_entry() const {
    return started_ ? &entries_[entry_number_ - 1] : nullptr;
}

} // namespace qv
