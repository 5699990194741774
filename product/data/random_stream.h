#pragma once
// A small pseudo-random generator of our own (SplitMix64), so that the generated files are the
// same bytes on every build, whatever the standard library's distributions do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace product_data {

class random_stream {
public:
    explicit random_stream(std::uint64_t seed) : state_(seed) {}
    // A stream of its own for each file: seeded from the file's name.
    explicit random_stream(std::string_view name);

    std::uint64_t next();
    // 0 <= result < bound (bound > 0).
    std::uint32_t below(std::uint32_t bound) { return static_cast<std::uint32_t>(next() % bound); }
    // low <= result <= high
    std::int32_t between(std::int32_t low, std::int32_t high) {
        return low + static_cast<std::int32_t>(below(static_cast<std::uint32_t>(high - low + 1)));
    }
    // 0 <= result < 1
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    std::string bytes(std::size_t count);

private:
    std::uint64_t state_;
};

} // namespace product_data
