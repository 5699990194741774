#include "tools/qvpack/archive_reading.h"

#include "payload/decompression.h"
#include "payload/entry_kind.h"
#include "platform/os/unicode.h"
#include "tools/qvpack/archive_check.h"
#include "tools/qvpack/tool_error.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iomanip>

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

namespace qvpack {
namespace {

namespace io = boost::iostreams;
namespace os = platform::os;

std::ifstream open_archive(const std::filesystem::path& archive) {
    std::ifstream in(archive, std::ios::binary);
    if (!in)
        throw tool_error("cannot open " + archive.string() + ": " + std::strerror(errno));
    return in;
}

std::string bzip2_failure(const io::bzip2_error& error) {
    const int code = error.error();
    if (code == io::bzip2::data_error_magic)
        return "not bzip2 data, or followed by something that is not (bzip2 error " +
               std::to_string(code) + ")";
    if (code == io::bzip2::unexpected_eof)
        return "the compressed data is cut short (bzip2 error " + std::to_string(code) + ")";
    return "the compressed data is corrupt or cut short (bzip2 error " + std::to_string(code) + ")";
}

std::string kind_text(std::uint32_t kind) {
    std::string text = std::to_string(kind);
    if (const auto name = qv::entry_kind_name(kind))
        text.append(" ").append(*name);
    return text;
}

void print_table(std::ostream& out, std::uint64_t data_offset, std::uint64_t length,
                 const std::vector<qv::payload_entry>& entries) {
    out << "data offset  " << data_offset << '\n'
        << "entries      " << entries.size() << '\n'
        << "length       " << length << " bytes decompressed\n";
    out << std::left << std::setw(5) << "#" << std::setw(16) << "kind" << std::right
        << std::setw(12) << "size"
        << "  " << std::setw(8) << "crc32"
        << "  " << std::left << std::setw(40) << "destination"
        << "file\n";
    std::size_t number = 0;
    for (const auto& entry : entries) {
        out << std::left << std::setw(5) << ++number << std::setw(16) << kind_text(entry.kind)
            << std::right << std::setw(12) << std::dec << entry.size << "  " << std::hex
            << std::setw(8) << std::setfill('0') << entry.crc << std::setfill(' ') << std::dec
            << "  " << std::left << std::setw(40) << os::to_utf8(entry.destination)
            << os::to_utf8(qv::source_file_name(entry.source_path)) << '\n';
    }
    out << std::right;
}

} // namespace

void list_archive(const std::filesystem::path& archive, std::ostream& out) {
    auto file = open_archive(archive);
    io::filtering_istream decompressed;
    decompressed.push(io::bzip2_decompressor());
    decompressed.push(file);
    // The decompressor's own failure is wanted, not just a failed stream.
    decompressed.exceptions(std::ios::badbit);

    archive_check check;
    std::array<char, 4096> chunk;
    try {
        while (!check.table_read()) {
            decompressed.read(chunk.data(), chunk.size());
            std::span<const char> rest(chunk.data(),
                                       static_cast<std::size_t>(decompressed.gcount()));
            if (rest.empty())
                break;
            while (!rest.empty() && !check.table_read())
                rest = rest.subspan(check.consume(rest));
        }
    } catch (const io::bzip2_error& error) {
        throw tool_error(archive.string() + ": " + bzip2_failure(error));
    } catch (const tool_error& error) {
        throw tool_error(archive.string() + ": " + error.what());
    }
    if (!check.table_read())
        throw tool_error(archive.string() + ": " + check.finish().back());
    print_table(out, check.data_offset(), check.length(), check.entries());
}

bool verify_archive(const std::filesystem::path& archive, std::ostream& out,
                    std::ostream& problems) {
    auto file = open_archive(archive);
    archive_check check;
    std::uint64_t compressed = 0;
    try {
        compressed = qv::decompress_payload(
            file, [&check](std::span<const char> bytes) { return check.consume(bytes); });
    } catch (const io::bzip2_error& error) {
        problems << archive.string() << ": " << bzip2_failure(error) << '\n';
        return false;
    } catch (const tool_error& error) {
        problems << archive.string() << ": " << error.what() << '\n';
        return false;
    }
    if (file.bad())
        throw tool_error("cannot read " + archive.string() + ": " + std::strerror(errno));
    const auto found = check.finish();
    for (const auto& problem : found)
        problems << archive.string() << ": " << problem << '\n';
    if (!found.empty())
        return false;
    out << archive.string() << ": sound: " << check.entries().size() << " entries, "
        << check.length() << " bytes decompressed from " << compressed << '\n';
    return true;
}

} // namespace qvpack
