#pragma once
// How the attributes of an entry are kept on the host: read-only of a file in its write
// permission, the rest in the extended attribute user.DOSATTRIB (see file_attributes.h).

#include "platform/os/file_access.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <system_error>

namespace platform::os::files_detail {

// The bits kept in the extended attribute of an open entry or of a path (not following a final
// link when links are refused); nullopt when there are none.
std::optional<std::uint32_t> stored_attributes(int descriptor);
std::optional<std::uint32_t> stored_attributes(const std::filesystem::path& host, symlinks links);

// Writes bits into the extended attribute; a file system without user extended attributes (or
// an entry that cannot carry them) drops them without an error.
std::error_code store_attributes(int descriptor, std::uint32_t bits);

// A regular file without any write permission.
bool is_read_only(const struct stat& status);

// The attributes an entry of this status and these stored bits reports.
std::uint32_t reported_attributes(const struct stat& status, std::optional<std::uint32_t> stored);

// Gives the open entry (of this status) the settable bits of attributes, as SetFileAttributesW.
std::error_code apply_attributes(int descriptor, const struct stat& status,
                                 std::uint32_t attributes);

} // namespace platform::os::files_detail
