#include "product/data/random_stream.h"

namespace product_data {

random_stream::random_stream(std::string_view name) : state_(0xcbf29ce484222325u) {
    // FNV-1a of the name
    for (unsigned char c : name) {
        state_ ^= c;
        state_ *= 0x100000001b3u;
    }
}

std::uint64_t random_stream::next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

std::string random_stream::bytes(std::size_t count) {
    std::string out;
    out.reserve(count);
    while (out.size() < count) {
        std::uint64_t value = next();
        for (int i = 0; i < 8 && out.size() < count; ++i, value >>= 8)
            out.push_back(static_cast<char>(value & 0xFF));
    }
    return out;
}

} // namespace product_data
