#include "platform/os/resource_image.h"

#include "platform/os/binary_view.h"
#include "platform/os/resource_module.h"

#include <algorithm>

namespace platform::os {
namespace {

constexpr std::uint64_t align4(std::uint64_t offset) {
    return (offset + 3) & ~std::uint64_t{3};
}

// A TYPE or NAME field at offset, inside the entry's header; offset moves past it.
resource_id read_id(const binary_view& header, std::uint64_t& offset) {
    constexpr std::uint16_t ordinal_marker = 0xFFFF;
    if (header.u16(offset) == ordinal_marker) {
        const std::uint16_t ordinal = header.u16(offset + 2);
        offset += 4;
        return ordinal;
    }
    const std::uint64_t start = offset;
    while (header.u16(offset) != 0)
        offset += 2;
    const auto units = header.range(start, offset - start);
    offset += 2;
    return utf16le_text(units);
}

bool all_zero(std::span<const std::byte> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::byte b) { return b == std::byte{0}; });
}

} // namespace

void add_resource_image(std::span<const std::byte> image, resource_module& module,
                        win32_error failure) {
    const binary_view view(image, failure);
    constexpr std::uint64_t sizes_length = 8;
    constexpr std::uint64_t fixed_tail_length = 16; // DataVersion .. Characteristics
    std::uint64_t entry = 0;
    while (entry < view.size()) {
        // Zeros after the last entry are the section's padding: no entry has a zero header size.
        if (all_zero(image.subspan(static_cast<std::size_t>(entry))))
            return;
        const std::uint64_t data_size = view.u32(entry);
        const std::uint64_t header_size = view.u32(entry + 4);
        const binary_view header(view.range(entry, header_size), failure);

        std::uint64_t field = sizes_length;
        const resource_id type = read_id(header, field);
        const resource_id name = read_id(header, field);
        field = align4(field);
        const std::uint16_t language = header.u16(field + 6);
        if (!header.holds(field, fixed_tail_length))
            view.fail();

        const auto data = view.range(entry + header_size, data_size);
        const auto* ordinal = type.ordinal();
        if (!ordinal || *ordinal != 0)
            module.add(type, name, language, data);
        entry = align4(entry + header_size + data_size);
    }
}

} // namespace platform::os
