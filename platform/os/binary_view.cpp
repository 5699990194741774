#include "platform/os/binary_view.h"

#include "platform/os/unicode.h"

#include <string_view>

namespace platform::os {

std::span<const std::byte> binary_view::range(std::uint64_t offset, std::uint64_t count) const {
    if (!holds(offset, count))
        fail();
    return bytes_.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

std::uint64_t binary_view::read(std::uint64_t offset, std::size_t width) const {
    const auto field = range(offset, width);
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = order_ == std::endian::little ? i : width - 1 - i;
        value |= static_cast<std::uint64_t>(field[i]) << (8 * shift);
    }
    return value;
}

std::wstring utf16le_text(std::span<const std::byte> units) {
    return from_utf16le(
        std::string_view(reinterpret_cast<const char*>(units.data()), units.size()));
}

} // namespace platform::os
