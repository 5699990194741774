#include "platform/os/file_sharing.h"

#include "platform/os/file_access.h"
#include "platform/os/machine.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/file.h>

namespace platform::os::files_detail {
namespace {

enum class access_kind { read, write, remove };
constexpr access_kind kinds[] = {access_kind::read, access_kind::write, access_kind::remove};

bool asks_for(std::uint32_t access, access_kind kind) {
    switch (kind) {
    case access_kind::read:
        return access & file_access::generic_read;
    case access_kind::write:
        return access & file_access::generic_write;
    case access_kind::remove:
        return access & file_access::delete_access;
    }
    return false;
}

bool shares(std::uint32_t share, access_kind kind) {
    switch (kind) {
    case access_kind::read:
        return share & file_share::read;
    case access_kind::write:
        return share & file_share::write;
    case access_kind::remove:
        return share & file_share::delete_access;
    }
    return false;
}

// Six bytes at the top of the offset range: "holds <kind>" and "refuses to share <kind>".
constexpr off_t reserved_base = std::numeric_limits<off_t>::max() - 8;

off_t holds_byte(access_kind kind) {
    return reserved_base + static_cast<off_t>(kind);
}
off_t refuses_byte(access_kind kind) {
    return reserved_base + 3 + static_cast<off_t>(kind);
}

bool any_access(std::uint32_t access) {
    for (access_kind kind : kinds) {
        if (asks_for(access, kind))
            return true;
    }
    return false;
}

// Whether another open file description holds a lock on the byte.
result<bool> taken_by_others(int descriptor, off_t byte) {
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = byte;
    probe.l_len = 1;
    if (::fcntl(descriptor, F_OFD_GETLK, &probe) != 0)
        return last_errno_error();
    return probe.l_type != F_UNLCK;
}

std::error_code take_shared(int descriptor, off_t byte) {
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = byte;
    lock.l_len = 1;
    if (::fcntl(descriptor, F_OFD_SETLK, &lock) != 0)
        return last_errno_error();
    return {};
}

} // namespace

result<sharing_lock> sharing_lock::acquire() {
    std::filesystem::path file;
    try {
        file = machine_root() / ".kernel" / "file-sharing.lock";
    } catch (const machine_error& error) {
        return error.code();
    }
    // Opening an existing file without O_CREAT: the folder is shared and sticky, where the
    // kernel may refuse O_CREAT on another user's file.
    auto descriptor = open_host(file, O_RDONLY);
    if (!descriptor && descriptor.error() == win32_error::file_not_found)
        descriptor = open_host(file, O_RDONLY | O_CREAT, 0644);
    if (!descriptor)
        return descriptor.error();
    int locked = -1;
    do {
        locked = ::flock(descriptor->get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0)
        return last_errno_error();
    return sharing_lock(std::move(*descriptor));
}

std::error_code check_sharing(const sharing_lock&, int descriptor, std::uint32_t access,
                              std::uint32_t share) {
    if (!any_access(access))
        return {};
    for (access_kind kind : kinds) {
        if (asks_for(access, kind)) {
            auto refused = taken_by_others(descriptor, refuses_byte(kind));
            if (!refused)
                return refused.error();
            if (*refused)
                return win32_error::sharing_violation;
        }
        if (!shares(share, kind)) {
            auto held = taken_by_others(descriptor, holds_byte(kind));
            if (!held)
                return held.error();
            if (*held)
                return win32_error::sharing_violation;
        }
    }
    return {};
}

std::error_code claim_sharing(const sharing_lock& held, int descriptor, std::uint32_t access,
                              std::uint32_t share) {
    if (auto conflict = check_sharing(held, descriptor, access, share))
        return conflict;
    if (!any_access(access))
        return {};
    for (access_kind kind : kinds) {
        if (asks_for(access, kind)) {
            if (auto error = take_shared(descriptor, holds_byte(kind)))
                return error;
        }
        if (!shares(share, kind)) {
            if (auto error = take_shared(descriptor, refuses_byte(kind)))
                return error;
        }
    }
    return {};
}

std::error_code check_path_sharing(const sharing_lock& held, const std::filesystem::path& host,
                                   std::uint32_t access, std::uint32_t share) {
    auto descriptor = open_host(host, O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (!descriptor)
        return {};
    return check_sharing(held, descriptor->get(), access, share);
}

} // namespace platform::os::files_detail
