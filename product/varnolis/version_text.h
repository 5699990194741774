#pragma once
// Packed versions as the texts the product reads and writes: the dotted form of its settings and
// the 16 hexadecimal digits of the installer's "/update=" argument.

#include "app/packed_version.h"

#include <optional>
#include <string>
#include <string_view>

namespace varnolis {

// "2.32.7.1"
std::wstring dotted_version(qv::packed_version version);

// Exactly 16 hexadecimal digits, either case; none for anything else.
std::optional<qv::packed_version> parse_version_hex(std::wstring_view digits);

} // namespace varnolis
