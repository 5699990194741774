#pragma once
// A resource-only DLL in the PE32+ format, as Windows programs carry their translations: headers,
// one ".rsrc" section with the resource directory (type, name, language) and the data. Windows'
// resource loader and the machine's own reader both read it.

#include <cstdint>
#include <string>
#include <vector>

namespace product_data {

namespace resource_types {
inline constexpr std::uint16_t string = 6;
inline constexpr std::uint16_t rcdata = 10;
inline constexpr std::uint16_t version = 16;
} // namespace resource_types

struct dll_resource {
    std::uint16_t type;
    std::uint16_t name;
    std::uint16_t language;
    std::string data;
};

std::string resource_dll(const std::vector<dll_resource>& resources);

} // namespace product_data
