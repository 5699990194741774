#include "support/pinned_object.h"

#include "support/hresult_failure.h"

#include "platform/os/machine.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <utility>
#include <vector>

namespace qv {
namespace fs = std::filesystem;
namespace os = platform::os;
using os::files_detail::unique_descriptor;

namespace {

[[noreturn]] void fail(os::win32_error code, const std::string& what) {
    throw_hresult(os::hresult_from_win32(static_cast<std::uint32_t>(code)), what);
}

[[noreturn]] void fail(const std::error_code& code, const std::string& what) {
    throw_hresult(os::hresult_from_win32(static_cast<std::uint32_t>(code.value())), what);
}

struct host_location {
    // The machine's own link for the drive ("<root>/dosdevices/c:"), followed as it is.
    fs::path drive;
    std::vector<std::string> names;
};

host_location locate(std::wstring_view windows_path) {
    try {
        auto host = os::host_path(windows_path);
        if (!host)
            fail(host.error(), "no host path");
        const fs::path devices = os::machine_root() / "dosdevices";
        const fs::path relative = host->lexically_relative(devices);
        auto name = relative.begin();
        if (name == relative.end() || *name == "..")
            fail(os::win32_error::path_not_found, host->string() + " is on no drive");
        host_location location{devices / *name, {}};
        for (++name; name != relative.end(); ++name) {
            if (!name->empty())
                location.names.push_back(name->string());
        }
        return location;
    } catch (const os::machine_error& error) {
        fail(error.code(), error.what());
    }
}

// The O_PATH descriptor of name in folder, or the errno of the failure.
std::pair<unique_descriptor, int> open_path(int folder, const char* name, int flags) {
    int descriptor = -1;
    do {
        descriptor = ::openat(folder, name, flags | O_PATH | O_CLOEXEC);
    } while (descriptor < 0 && errno == EINTR);
    return {unique_descriptor(descriptor), descriptor < 0 ? errno : 0};
}

struct stat status_of(const unique_descriptor& descriptor, const std::string& shown) {
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0)
        throw_errno(errno, "cannot query " + shown);
    return status;
}

} // namespace

pinned_object pinned_object::open(std::wstring_view windows_path) {
    const host_location location = locate(windows_path);
    std::string shown = location.drive.string();
    auto [current, drive_error] = open_path(AT_FDCWD, shown.c_str(), O_DIRECTORY);
    if (drive_error != 0)
        throw_errno(drive_error, "cannot open the drive " + shown);
    struct stat status = status_of(current, shown);
    for (std::size_t index = 0; index < location.names.size(); ++index) {
        const bool last = index + 1 == location.names.size();
        shown += '/' + location.names[index];
        // With O_PATH and O_NOFOLLOW a link is opened as itself, and then refused.
        auto [next, error] = open_path(current.get(), location.names[index].c_str(), O_NOFOLLOW);
        if (error == ENOENT && last)
            fail(os::win32_error::file_not_found, shown + " does not exist");
        if (error == ENOENT || error == ENOTDIR)
            fail(os::win32_error::path_not_found, shown + " does not exist");
        if (error != 0)
            throw_errno(error, "cannot open " + shown);
        status = status_of(next, shown);
        if (S_ISLNK(status.st_mode))
            fail(os::win32_error::access_denied, shown + " is a symbolic link");
        if (!last && !S_ISDIR(status.st_mode))
            fail(os::win32_error::path_not_found, shown + " is not a folder");
        current = std::move(next);
    }
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode))
        fail(os::win32_error::access_denied, shown + " is neither a file nor a folder");
    return pinned_object(std::move(current), status);
}

std::string pinned_object::proc_path() const {
    return "/proc/self/fd/" + std::to_string(descriptor_.get());
}

} // namespace qv
