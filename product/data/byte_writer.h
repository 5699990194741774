#pragma once
// Little-endian output into a byte string, with fields patched in once their values are known.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace product_data {

class byte_writer {
public:
    void u8(std::uint32_t value) { put(value, 1); }
    void u16(std::uint32_t value) { put(value, 2); }
    void u32(std::uint64_t value) { put(value, 4); }
    void u64(std::uint64_t value) { put(value, 8); }
    void f32(float value);
    void raw(std::string_view bytes) { bytes_.append(bytes); }
    // Zeros up to the next multiple of boundary.
    void align(std::size_t boundary);
    void zeros(std::size_t count) { bytes_.append(count, '\0'); }

    void patch16(std::size_t at, std::uint32_t value) { patch(at, value, 2); }
    void patch32(std::size_t at, std::uint64_t value) { patch(at, value, 4); }

    std::size_t size() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }
    std::string take() { return std::move(bytes_); }

private:
    void put(std::uint64_t value, int width);
    void patch(std::size_t at, std::uint64_t value, int width);

    std::string bytes_;
};

} // namespace product_data
