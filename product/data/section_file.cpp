#include "product/data/section_file.h"

#include "product/data/byte_writer.h"

namespace product_data {
namespace {

constexpr std::size_t count_offset = 8;

} // namespace

section_file::section_file(std::string_view magic, std::uint16_t format_version) {
    byte_writer out;
    out.raw(magic.substr(0, 4));
    out.u16(format_version);
    out.u16(0);
    out.u32(0); // sections, counted as they come
    bytes_ = out.take();
}

void section_file::add(std::string_view tag, std::string_view bytes) {
    byte_writer out;
    out.raw(tag.substr(0, 4));
    out.u32(bytes.size());
    out.raw(bytes);
    out.align(4);
    bytes_ += out.bytes();
    ++sections_;
}

std::string section_file::take() {
    for (int i = 0; i < 4; ++i)
        bytes_[count_offset + i] = static_cast<char>((sections_ >> (8 * i)) & 0xFF);
    return std::move(bytes_);
}

} // namespace product_data
