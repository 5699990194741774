#pragma once
// The check pass that runs before the extraction.

#include <istream>

namespace qv {

// Decompresses everything from the stream's position to its end and discards it. True when that
// succeeded and the stream is left in a good state with nothing unread; false for corrupt or
// truncated data, an empty stream, or any other failure.
bool verify_payload(std::istream& payload);

} // namespace qv
