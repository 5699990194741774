#pragma once
// Bounds-checked reads of integers from the bytes of an untrusted file: anything outside the
// bytes throws binary_format_error with the code the caller gives for a broken format.

#include "platform/os/error.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <system_error>

namespace platform::os {

class binary_format_error : public std::system_error {
public:
    explicit binary_format_error(win32_error code) : std::system_error(make_error_code(code)) {}
};

class binary_view {
public:
    binary_view(std::span<const std::byte> bytes, win32_error failure,
                std::endian order = std::endian::little)
        : bytes_(bytes), failure_(failure), order_(order) {}

    std::span<const std::byte> bytes() const { return bytes_; }
    std::uint64_t size() const { return bytes_.size(); }

    std::uint8_t u8(std::uint64_t offset) const {
        return static_cast<std::uint8_t>(read(offset, 1));
    }
    std::uint16_t u16(std::uint64_t offset) const {
        return static_cast<std::uint16_t>(read(offset, 2));
    }
    std::uint32_t u32(std::uint64_t offset) const {
        return static_cast<std::uint32_t>(read(offset, 4));
    }
    std::uint64_t u64(std::uint64_t offset) const { return read(offset, 8); }

    // The count bytes at offset, all of which must be there.
    std::span<const std::byte> range(std::uint64_t offset, std::uint64_t count) const;
    // Whether the count bytes at offset are all there.
    bool holds(std::uint64_t offset, std::uint64_t count) const {
        return offset <= size() && count <= size() - offset;
    }

    [[noreturn]] void fail() const { throw binary_format_error(failure_); }

private:
    std::uint64_t read(std::uint64_t offset, std::size_t width) const;

    std::span<const std::byte> bytes_;
    win32_error failure_;
    std::endian order_;
};

// UTF-16LE units as the program's text, pairs of surrogates joined.
std::wstring utf16le_text(std::span<const std::byte> units);

} // namespace platform::os
