#include "platform/os/files.h"

#include "platform/os/dos_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/file_sharing.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::os {
namespace fs = std::filesystem;
using namespace files_detail;

namespace {

struct opened_file {
    unique_descriptor descriptor;
    bool created = false;
};

// A new program file (".exe", ".com") may be run by anyone who may read it, as Windows' default
// access list lets every user execute it; other new files are not executable on the host.
mode_t creation_mode(const fs::path& host) {
    std::string extension = host.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".exe" || extension == ".com" ? 0777 : 0666;
}

bool may_create(creation how) {
    return how == creation::create_new || how == creation::create_always ||
           how == creation::open_always;
}

bool overwrites(creation how) {
    return how == creation::create_always || how == creation::truncate_existing;
}

// Opens the existing file or makes a new one, as the disposition allows, telling which it did.
result<opened_file> open_or_make(const fs::path& host, int flags, creation how, symlinks links) {
    if (links == symlinks::refuse)
        flags |= O_NOFOLLOW;
    if (how == creation::create_new) {
        auto made = open_host(host, flags | O_CREAT | O_EXCL, creation_mode(host));
        if (!made)
            return made.error() == win32_error::already_exists ? win32_error::file_exists
                                                               : made.error();
        return opened_file{std::move(*made), true};
    }
    auto existing = open_host(host, flags);
    if (existing)
        return opened_file{std::move(*existing), false};
    if (existing.error() != win32_error::file_not_found || !may_create(how))
        return existing.error();
    auto made = open_host(host, flags | O_CREAT | O_EXCL, creation_mode(host));
    if (made)
        return opened_file{std::move(*made), true};
    if (made.error() != win32_error::already_exists)
        return made.error();
    // Something is there that could not be opened without creating: a symbolic link to nothing,
    // whose target is made when links are followed.
    auto through = open_host(host, flags | O_CREAT, creation_mode(host));
    if (!through)
        return through.error();
    return opened_file{std::move(*through), true};
}

// CreateFileW refuses to overwrite a hidden or system file unless asked to keep it so.
bool keeps_hidden_and_system(std::uint32_t existing, std::uint32_t requested) {
    const std::uint32_t guarded = file_attribute::hidden | file_attribute::system;
    return (existing & guarded & ~requested) == 0;
}

// The checks, sharing and changes that follow the host open. When one fails, the caller removes
// a file the open made.
result<file_handle> finish_open(const sharing_lock& held, opened_file opened, std::uint32_t access,
                                std::uint32_t share, creation how, std::uint32_t attributes) {
    const int descriptor = opened.descriptor.get();
    auto status = status_of(opened.descriptor);
    if (!status)
        return status.error();
    if (S_ISDIR(status->st_mode))
        return win32_error::access_denied;
    std::uint32_t kept = 0;
    if (!opened.created) {
        if (is_read_only(*status) && ((access & file_access::generic_write) || overwrites(how)))
            return win32_error::access_denied;
        kept =
            reported_attributes(*status, stored_attributes(descriptor)) & file_attribute::settable;
        if (how == creation::create_always && !keeps_hidden_and_system(kept, attributes))
            return win32_error::access_denied;
    }
    if (auto conflict = claim_sharing(held, descriptor, access, share))
        return conflict;
    if (!opened.created && overwrites(how) && ::ftruncate(descriptor, 0) != 0)
        return last_errno_error();
    if (opened.created || how == creation::create_always) {
        if (auto error =
                apply_attributes(descriptor, *status, kept | attributes | file_attribute::archive))
            return error;
    }
    return file_handle(std::move(opened.descriptor), access);
}

} // namespace

result<file_handle> create_file(std::wstring_view path, std::uint32_t access, std::uint32_t share,
                                creation how, std::uint32_t attributes, symlinks links) {
    if (auto failure = begin_file_operation())
        return failure;
    if (how < creation::create_new || how > creation::truncate_existing ||
        (how == creation::truncate_existing && !(access & file_access::generic_write)))
        return win32_error::invalid_parameter;
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    auto held = sharing_lock::acquire();
    if (!held)
        return held.error();
    // Reading is needed for the sharing records even when only writing was asked for.
    const int flags = (access & file_access::generic_write) ? O_RDWR : O_RDONLY;
    auto opened = open_or_make(*host, flags, how, links);
    if (!opened) {
        if (links == symlinks::refuse && opened.error() == win32_error::cant_resolve_filename)
            return win32_error::access_denied;
        return opened.error();
    }
    const bool created = opened->created;
    auto handle = finish_open(*held, std::move(*opened), access, share, how, attributes);
    if (!handle && created)
        ::unlink(host->c_str());
    return handle;
}

std::error_code delete_file(std::wstring_view path) {
    if (auto failure = begin_file_operation())
        return failure;
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    auto held = sharing_lock::acquire();
    if (!held)
        return held.error();
    auto status = status_of(*host, symlinks::refuse);
    if (!status)
        return status.error();
    if (S_ISDIR(status->st_mode) || is_read_only(*status))
        return win32_error::access_denied;
    if (auto conflict =
            check_path_sharing(*held, *host, file_access::delete_access, file_share::all))
        return conflict;
    if (::unlink(host->c_str()) != 0)
        return lookup_error(*host, errno);
    return {};
}

result<file_identity> get_file_identity(std::wstring_view path) {
    auto host = resolve_host(path);
    if (!host)
        return host.error();
    auto status = status_of(*host, symlinks::follow);
    if (!status)
        return status.error();
    return file_identity{static_cast<std::uint64_t>(status->st_dev),
                         static_cast<std::uint64_t>(status->st_ino)};
}

bool path_exists(std::wstring_view path) {
    auto host = resolve_host(path);
    struct stat status {};
    return host && ::lstat(host->c_str(), &status) == 0;
}

} // namespace platform::os
