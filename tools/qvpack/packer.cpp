#include "tools/qvpack/packer.h"

#include "payload/payload_entry.h"
#include "tools/qvpack/archive_writer.h"
#include "tools/qvpack/tool_error.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>

#include <boost/crc.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

namespace qvpack {
namespace {

namespace io = boost::iostreams;
namespace fs = std::filesystem;

constexpr std::size_t block_size = 1 << 16;

struct file_summary {
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
    friend bool operator==(const file_summary&, const file_summary&) = default;
};

std::string describe(const manifest_entry& entry) {
    return entry.origin + ": " + entry.host_file.string();
}

// Reads the file block by block, handing each block to use; its size and checksum.
template <class Use> file_summary stream_file(const manifest_entry& entry, Use use) {
    if (fs::is_directory(entry.host_file))
        throw tool_error(describe(entry) + " is a folder, not a file");
    std::ifstream in(entry.host_file, std::ios::binary);
    if (!in)
        throw tool_error(describe(entry) + ": cannot open: " + std::strerror(errno));
    boost::crc_32_type crc;
    file_summary summary;
    std::array<char, block_size> block;
    while (in) {
        in.read(block.data(), block.size());
        const auto count = static_cast<std::size_t>(in.gcount());
        crc.process_bytes(block.data(), count);
        summary.size += count;
        use(block.data(), count);
    }
    if (in.bad())
        throw tool_error(describe(entry) + ": cannot read: " + std::strerror(errno));
    summary.crc = crc.checksum();
    return summary;
}

// The archive is written next to its final name and moved there once complete, so that a
// failed run leaves no archive that looks whole.
class partial_file {
public:
    explicit partial_file(fs::path final_path)
        : final_(std::move(final_path)), partial_(final_.string() + ".partial") {}
    ~partial_file() {
        if (!committed_) {
            std::error_code ignored;
            fs::remove(partial_, ignored);
        }
    }
    partial_file(const partial_file&) = delete;
    partial_file& operator=(const partial_file&) = delete;

    const fs::path& path() const { return partial_; }
    void commit() {
        std::error_code error;
        fs::rename(partial_, final_, error);
        if (error)
            throw tool_error("cannot move " + partial_.string() + " to " + final_.string() + ": " +
                             error.message());
        committed_ = true;
    }

private:
    fs::path final_;
    fs::path partial_;
    bool committed_ = false;
};

} // namespace

void pack(const std::vector<manifest_entry>& manifest, const fs::path& out) {
    std::vector<qv::payload_entry> table;
    std::vector<file_summary> summaries;
    for (const auto& source : manifest) {
        const auto summary = stream_file(source, [](const char*, std::size_t) {});
        qv::payload_entry entry;
        entry.source_path = source.source_path;
        entry.destination = source.destination;
        entry.kind = source.kind;
        entry.size = summary.size;
        entry.crc = summary.crc;
        table.push_back(std::move(entry));
        summaries.push_back(summary);
    }
    const std::string header_and_table = encode_table(table);

    partial_file partial(out);
    std::ofstream file(partial.path(), std::ios::binary | std::ios::trunc);
    if (!file)
        throw tool_error("cannot create " + partial.path().string() + ": " + std::strerror(errno));
    {
        io::filtering_ostream compressed;
        compressed.push(io::bzip2_compressor(io::bzip2_params(9)));
        compressed.push(file);
        compressed.write(header_and_table.data(),
                         static_cast<std::streamsize>(header_and_table.size()));
        for (std::size_t i = 0; i < manifest.size(); ++i) {
            const auto copied = stream_file(manifest[i], [&](const char* bytes, std::size_t count) {
                compressed.write(bytes, static_cast<std::streamsize>(count));
            });
            if (copied != summaries[i])
                throw tool_error(describe(manifest[i]) + " changed while it was being packed");
        }
        compressed.reset();
    }
    file.close();
    if (!file)
        throw tool_error("cannot write " + partial.path().string() + ": " + std::strerror(errno));
    partial.commit();
}

} // namespace qvpack
