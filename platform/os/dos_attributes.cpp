#include "platform/os/dos_attributes.h"

#include "platform/os/error.h"
#include "platform/os/file_attributes.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>
#include <sys/xattr.h>

namespace platform::os::files_detail {
namespace {

constexpr const char* attribute_name = "user.DOSATTRIB";
constexpr mode_t all_write = S_IWUSR | S_IWGRP | S_IWOTH;

// "0x<hex>", possibly followed by a NUL or more data as other writers leave it.
std::optional<std::uint32_t> parse_stored(const char* text, ssize_t length) {
    if (length < 3)
        return std::nullopt;
    const std::string_view value(text, static_cast<std::size_t>(length));
    if (value[0] != '0' || (value[1] != 'x' && value[1] != 'X'))
        return std::nullopt;
    std::uint32_t bits = 0;
    const auto parsed = std::from_chars(value.data() + 2, value.data() + value.size(), bits, 16);
    if (parsed.ec != std::errc() || parsed.ptr == value.data() + 2)
        return std::nullopt;
    return bits;
}

// The umask of this process, read without changing it (umask(2) can only read by setting).
mode_t current_umask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("Umask:")) {
            unsigned value = 0;
            if (std::sscanf(line.c_str() + 6, "%o", &value) == 1)
                return static_cast<mode_t>(value);
        }
    }
    return 022;
}

// Clearing read-only: the owner may write again, and group and others where they may read and
// the umask would have let a new file give them write permission.
mode_t writable_mode(mode_t mode) {
    const mode_t readers_write = static_cast<mode_t>((mode & 0444) >> 1);
    return mode | S_IWUSR | (readers_write & ~current_umask() & all_write);
}

std::error_code change_mode(int descriptor, mode_t mode) {
    if (::fchmod(descriptor, mode & 07777) != 0)
        return last_errno_error();
    return {};
}

} // namespace

std::optional<std::uint32_t> stored_attributes(int descriptor) {
    char text[64];
    return parse_stored(text, ::fgetxattr(descriptor, attribute_name, text, sizeof text));
}

std::optional<std::uint32_t> stored_attributes(const std::filesystem::path& host, symlinks links) {
    char text[64];
    const ssize_t length = links == symlinks::refuse
                               ? ::lgetxattr(host.c_str(), attribute_name, text, sizeof text)
                               : ::getxattr(host.c_str(), attribute_name, text, sizeof text);
    return parse_stored(text, length);
}

std::error_code store_attributes(int descriptor, std::uint32_t bits) {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(bits));
    if (::fsetxattr(descriptor, attribute_name, text, static_cast<std::size_t>(length), 0) == 0)
        return {};
    const int error_number = errno;
    // No user extended attributes here: the file system has none, or the entry is a device,
    // pipe or socket, which may not carry them.
    if (error_number == ENOTSUP || error_number == EOPNOTSUPP)
        return {};
    struct stat status {};
    if (error_number == EPERM && ::fstat(descriptor, &status) == 0 && !S_ISREG(status.st_mode) &&
        !S_ISDIR(status.st_mode))
        return {};
    return error_from_errno(error_number);
}

bool is_read_only(const struct stat& status) {
    return S_ISREG(status.st_mode) && (status.st_mode & all_write) == 0;
}

std::uint32_t reported_attributes(const struct stat& status, std::optional<std::uint32_t> stored) {
    using namespace file_attribute;
    std::uint32_t bits = 0;
    if (S_ISDIR(status.st_mode)) {
        bits = directory | (stored.value_or(0) & settable);
    } else {
        bits = stored ? *stored & settable & ~readonly : archive;
        if (is_read_only(status))
            bits |= readonly;
    }
    return bits != 0 ? bits : normal;
}

std::error_code apply_attributes(int descriptor, const struct stat& status,
                                 std::uint32_t attributes) {
    using namespace file_attribute;
    const std::uint32_t wanted = attributes & settable;
    if (S_ISDIR(status.st_mode))
        return store_attributes(descriptor, wanted);

    const mode_t mode = status.st_mode & 07777;
    const mode_t target_mode = (wanted & readonly)    ? mode & ~all_write
                               : is_read_only(status) ? writable_mode(mode)
                                                      : mode;
    mode_t current_mode = mode;
    std::error_code stored = store_attributes(descriptor, wanted & ~readonly);
    // The owner of a file without write permission may not change its extended attributes: give
    // the owner write permission for the moment.
    if (stored == win32_error::access_denied && !(mode & S_IWUSR)) {
        if (auto error = change_mode(descriptor, mode | S_IWUSR))
            return error;
        current_mode = mode | S_IWUSR;
        stored = store_attributes(descriptor, wanted & ~readonly);
    }
    if (stored) {
        if (current_mode != mode)
            change_mode(descriptor, mode);
        return stored;
    }
    if (current_mode != target_mode)
        return change_mode(descriptor, target_mode);
    return {};
}

} // namespace platform::os::files_detail
