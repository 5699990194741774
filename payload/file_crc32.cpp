#include "payload/file_crc32.h"

#include "platform/os/files.h"

#include <array>
#include <chrono>
#include <thread>

#include <boost/crc.hpp>

namespace qv {
namespace {

namespace os = platform::os;

constexpr int retries = 3;
constexpr auto retry_pause = std::chrono::seconds(1);

os::result<std::uint32_t> read_crc32(std::wstring_view path) {
    auto file = os::create_file(path, os::file_access::generic_read, os::file_share::read,
                                os::creation::open_existing);
    if (!file)
        return file.error();
    boost::crc_32_type crc;
    std::array<char, 4096> block;
    for (;;) {
        auto count = file->read(std::as_writable_bytes(std::span(block)));
        if (!count)
            return count.error();
        if (*count == 0)
            return crc.checksum();
        crc.process_bytes(block.data(), *count);
    }
}

} // namespace

os::result<std::uint32_t> file_crc32(std::wstring_view path) {
    auto crc = read_crc32(path);
    for (int retry = 0; retry < retries && crc.error() == os::win32_error::sharing_violation;
         ++retry) {
        // sleep_for waits on the steady clock, so a change of the system time does not matter.
        std::this_thread::sleep_for(retry_pause);
        crc = read_crc32(path);
    }
    return crc;
}

} // namespace qv
