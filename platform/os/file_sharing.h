#pragma once
// Windows file sharing across every process using the machine: each open records the accesses it
// holds and those it refuses to share, as open-file-description locks on reserved bytes of the
// file far beyond any real size. The locks go with the descriptor, so a closed handle or a dead
// process releases them.

#include "platform/os/host_descriptor.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

namespace platform::os::files_detail {

// The machine-wide lock under which an open checks the others and records itself, so that no
// open slips in between.
class sharing_lock {
public:
    static result<sharing_lock> acquire();

private:
    explicit sharing_lock(unique_descriptor descriptor) : descriptor_(std::move(descriptor)) {}
    unique_descriptor descriptor_;
};

// ERROR_SHARING_VIOLATION when an open of the file behind descriptor asking for access and
// sharing share would conflict with the file's current opens. An open asking for no read, write
// or delete access never conflicts.
std::error_code check_sharing(const sharing_lock& held, int descriptor, std::uint32_t access,
                              std::uint32_t share);

// check_sharing, then records the open on descriptor (which must be open for reading) until it
// is closed.
std::error_code claim_sharing(const sharing_lock& held, int descriptor, std::uint32_t access,
                              std::uint32_t share);

// check_sharing for the file at host (a final symbolic link not followed), as when deleting or
// replacing it. An entry that cannot be opened for reading (a symbolic link, which nothing holds
// open, or a file this user may not read) is not checked.
std::error_code check_path_sharing(const sharing_lock& held, const std::filesystem::path& host,
                                   std::uint32_t access, std::uint32_t share);

} // namespace platform::os::files_detail
