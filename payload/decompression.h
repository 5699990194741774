#pragma once
// The payload's outer layer: bzip2, decompressed in small fixed chunks straight into a consumer,
// so that the decompressed archive is never held whole in memory.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <istream>
#include <span>

namespace qv {

// Takes bytes from the front of a chunk and returns how many it took. It is offered the rest
// again until the chunk is taken whole, so taking nothing must change its state (a zero-length
// entry completing), never repeat forever.
using payload_consumer = std::function<std::size_t(std::span<const char>)>;

// Decompresses the bzip2 data from the stream's position to its end, reading it in blocks of
// 4096 bytes and handing the output over in chunks of at most 4096 bytes, once more as the input
// ends. Concatenated bzip2 streams are decoded one after another. Returns the number of
// compressed bytes read. Throws boost::iostreams::bzip2_error for corrupt or truncated data, and
// passes on what consume throws; after that consume is not called again.
std::uint64_t decompress_payload(std::istream& compressed, const payload_consumer& consume);

} // namespace qv
