#include "app/packed_version.h"

#include <cstdio>

namespace qv {

std::wstring packed_version_hex(packed_version version) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(version));
    return std::wstring(digits, digits + 16);
}

} // namespace qv
