#include "payload/table_reader.h"

#include "payload/archive_layout.h"
#include "payload/compress_error.h"

#include <algorithm>
#include <system_error>

namespace qv {

std::size_t table_reader::append(std::span<const char> bytes, std::uint64_t up_to) {
    const auto wanted = up_to - collected().size();
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), wanted));
    if (!collected_.write(bytes.data(), static_cast<std::streamsize>(count)))
        throw std::system_error(compress_error::unexpected);
    return count;
}

std::size_t table_reader::take(std::span<const char> bytes) {
    if (complete_)
        return 0;
    // A rejected data_offset leaves it 0 with the header collected: the table stays unreadable.
    if (data_offset_ == 0 && collected().size() == payload_layout::data_offset_size)
        throw std::system_error(compress_error::unexpected);
    if (collected().size() < payload_layout::data_offset_size) {
        const auto count = append(bytes, payload_layout::data_offset_size);
        if (collected().size() == payload_layout::data_offset_size)
            data_offset_ = read_data_offset(collected().first<payload_layout::data_offset_size>());
        return count;
    }
    const auto count = append(bytes, data_offset_);
    if (collected().size() == data_offset_) {
        entries_ = read_entry_table(collected());
        complete_ = true;
    }
    return count;
}

} // namespace qv
