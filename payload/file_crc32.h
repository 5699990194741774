#pragma once
// The CRC-32 of a file as it is on disk, to verify what the extraction wrote.

#include "platform/os/result.h"

#include <cstdint>
#include <string_view>

namespace qv {

// The payload's CRC-32 (zlib's) of the file's contents, read through the machine's file layer in
// 4096-byte blocks, sharing like the extraction's writer: others may read meanwhile, not write.
// While another process holds the file without read sharing (ERROR_SHARING_VIOLATION), it is
// tried again after a second, three times at most; the last failure is the result.
platform::os::result<std::uint32_t> file_crc32(std::wstring_view path);

} // namespace qv
