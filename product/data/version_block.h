#pragma once
// The VS_VERSIONINFO block of a library's version resource: the fixed file information and one
// string table in a Unicode translation.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace product_data {

struct version_description {
    std::array<std::uint16_t, 4> file_version;
    std::array<std::uint16_t, 4> product_version;
    std::uint16_t language;
    std::vector<std::pair<std::wstring, std::wstring>> strings;
};

std::string version_block(const version_description& version);

} // namespace product_data
