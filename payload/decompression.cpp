#include "payload/decompression.h"

#include <boost/iostreams/compose.hpp>
#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/filter/bzip2.hpp>

#include <memory>

namespace qv {
namespace {

namespace io = boost::iostreams;

constexpr std::streamsize chunk_size = 4096;

// Hands the decompressor's output to the consumer. Once the consumer has failed, what the
// decompressor still flushes while the copy winds down is dropped.
class consumer_sink {
public:
    using char_type = char;
    using category = io::sink_tag;

    explicit consumer_sink(const payload_consumer& consume) : consume_(&consume) {}

    std::streamsize write(const char* bytes, std::streamsize count) {
        if (*failed_)
            return count;
        try {
            std::span<const char> rest(bytes, static_cast<std::size_t>(count));
            while (!rest.empty())
                rest = rest.subspan((*consume_)(rest));
        } catch (...) {
            *failed_ = true;
            throw;
        }
        return count;
    }

private:
    const payload_consumer* consume_;
    // Shared by the copies the filter chain makes of its sink.
    std::shared_ptr<bool> failed_ = std::make_shared<bool>(false);
};

} // namespace

std::uint64_t decompress_payload(std::istream& compressed, const payload_consumer& consume) {
    const io::bzip2_decompressor decompressor(io::bzip2::default_small, chunk_size);
    const auto read =
        io::copy(compressed, io::compose(decompressor, consumer_sink(consume)), chunk_size);
    return static_cast<std::uint64_t>(read);
}

} // namespace qv
