#pragma once
// Unpacking the payload onto the disk in one streaming pass.

#include "locations/destination.h"
#include "payload/notification.h"

#include <istream>

namespace qv {

// Decompresses the payload from the stream's position and writes every entry's file to its
// resolved destination (payload_extractor), telling callback at each step: started, then
// progress, file_begin and file_end as the entries go by, then finished. True when every entry
// was processed and the decompressed data matched the table exactly. Otherwise false, after one
// failed notification carrying the error code (failure_code) and the file concerned: the entry
// being written, else the file a file operation named, else none. Files already written stay.
// Exceptions derived from std::exception never leave it; others pass through.
bool extract_payload(std::istream& payload, const target_folders& folders,
                     const extraction_callback& callback);

} // namespace qv
