#pragma once
// A Windows file version packed into 64 bits: major, minor, build and revision as 16-bit fields
// from the most significant down, compared as a plain unsigned number; 0 means none.

#include <cstdint>
#include <string>

namespace qv {

using packed_version = std::uint64_t;

constexpr packed_version make_packed_version(std::uint16_t major, std::uint16_t minor,
                                             std::uint16_t build, std::uint16_t revision) {
    return (packed_version{major} << 48) | (packed_version{minor} << 32) |
           (packed_version{build} << 16) | packed_version{revision};
}

// dwFileVersionMS in the high half, dwFileVersionLS in the low half.
constexpr packed_version make_packed_version(std::uint32_t most_significant,
                                             std::uint32_t least_significant) {
    return (packed_version{most_significant} << 32) | least_significant;
}

// 16 lower-case hexadecimal digits with leading zeros (2.31.0.0 -> 0002001f00000000).
std::wstring packed_version_hex(packed_version version);

} // namespace qv
