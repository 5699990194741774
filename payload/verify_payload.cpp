#include "payload/verify_payload.h"

#include "payload/decompression.h"

#include <exception>

namespace qv {

bool verify_payload(std::istream& payload) {
    try {
        decompress_payload(payload, [](std::span<const char> bytes) { return bytes.size(); });
        // Looking at the next byte through the buffer leaves the stream's state as it is.
        return payload.good() && std::istream::traits_type::eq_int_type(
                                     payload.rdbuf()->sgetc(), std::istream::traits_type::eof());
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace qv
