#pragma once
// Encoding the payload archive's header and entry records (layout in payload/archive_layout.h).

#include "payload/payload_entry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qvpack {

// The header and every record, with data_offset set to their combined length. Throws tool_error
// when the table would not fit the format (a text longer than 2^32 - 1 code units, more than
// 2^32 - 1 entries, a table of 4 GiB or more).
std::string encode_table(const std::vector<qv::payload_entry>& entries);

} // namespace qvpack
