#pragma once
// The container of the product's own data formats (stock data, documents): a four-byte magic, a
// format version, then tagged sections, each a four-character tag, its length and its bytes
// padded to four.

#include <cstdint>
#include <string>
#include <string_view>

namespace product_data {

class section_file {
public:
    section_file(std::string_view magic, std::uint16_t format_version);

    void add(std::string_view tag, std::string_view bytes);
    std::string take();

private:
    std::string bytes_;
    std::uint32_t sections_ = 0;
};

} // namespace product_data
