#include "product/data/byte_writer.h"

#include <bit>

namespace product_data {

void byte_writer::f32(float value) {
    put(std::bit_cast<std::uint32_t>(value), 4);
}

void byte_writer::align(std::size_t boundary) {
    while (bytes_.size() % boundary != 0)
        bytes_.push_back('\0');
}

void byte_writer::put(std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void byte_writer::patch(std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes_.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace product_data
