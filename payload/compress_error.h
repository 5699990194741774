#pragma once
// The payload's own error codes, in the "compress" error category.

#include <system_error>

namespace qv {

enum class compress_error {
    invalid_checksum = 3,
    check_failed = 4,
    interrupted = 5,
    bzip2_error = 6,
    unexpected = 7,
};

const std::error_category& compress_category();

inline std::error_code make_error_code(compress_error value) {
    return {static_cast<int>(value), compress_category()};
}

} // namespace qv

template <> struct std::is_error_code_enum<qv::compress_error> : std::true_type {};
