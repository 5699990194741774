#include "platform/os/staged_file.h"

#include "platform/os/dos_attributes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace platform::os::files_detail {
namespace fs = std::filesystem;

int rename_entry(const fs::path& from, const fs::path& to, replacement mode) {
    if (mode == replacement::allowed)
        return ::rename(from.c_str(), to.c_str());
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return -1;
    // A file system without RENAME_NOREPLACE: the sharing lock keeps the machine's other
    // processes from slipping in between the check and the rename.
    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

result<staged_file> staged_file::create_beside(const fs::path& destination) {
    std::string name = (destination.parent_path() / ".qv-staged-XXXXXX").string();
    const int descriptor = ::mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return lookup_error(destination, errno);
    return staged_file(fs::path(name), unique_descriptor(descriptor));
}

staged_file::staged_file(staged_file&& other) noexcept
    : path_(std::move(other.path_)), descriptor_(std::move(other.descriptor_)) {
    other.path_.clear();
}

staged_file::~staged_file() {
    if (!path_.empty())
        ::unlink(path_.c_str());
}

std::error_code staged_file::fill_from(int source, const struct stat& source_status) {
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t count = ::read(source, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return last_errno_error();
        if (count == 0)
            break;
        for (ssize_t written = 0; written < count;) {
            const ssize_t done = ::write(descriptor_.get(), buffer.data() + written,
                                         static_cast<std::size_t>(count - written));
            if (done < 0 && errno == EINTR)
                continue;
            if (done < 0)
                return last_errno_error();
            written += done;
        }
    }
    if (auto stored = stored_attributes(source)) {
        if (auto error = store_attributes(descriptor_.get(), *stored))
            return error;
    }
    if (::fchmod(descriptor_.get(), source_status.st_mode & 0777) != 0)
        return last_errno_error();
    const timespec times[2] = {source_status.st_atim, source_status.st_mtim};
    if (::futimens(descriptor_.get(), times) != 0)
        return last_errno_error();
    return {};
}

std::error_code staged_file::commit(const fs::path& destination, replacement mode) {
    if (rename_entry(path_, destination, mode) != 0)
        return lookup_error(destination, errno);
    path_.clear();
    return {};
}

} // namespace platform::os::files_detail
