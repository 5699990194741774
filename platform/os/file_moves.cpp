#include "platform/os/file_moves.h"

#include "platform/os/dos_attributes.h"
#include "platform/os/file_access.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_faults.h"
#include "platform/os/file_sharing.h"
#include "platform/os/full_path.h"
#include "platform/os/staged_file.h"
#include "platform/os/unicode.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace platform::os {
namespace fs = std::filesystem;
using namespace files_detail;

namespace {

// The entry at host, not following a final link; nullopt when there is none.
result<std::optional<struct stat>> entry_at(const fs::path& host) {
    struct stat status {};
    if (::lstat(host.c_str(), &status) == 0)
        return std::optional<struct stat>(status);
    if (errno == ENOENT)
        return std::optional<struct stat>();
    return lookup_error(host, errno);
}

// What replacing an existing destination requires of it.
struct destination_rules {
    replacement mode;
    win32_error exists;   // the code when it exists and must not be replaced
    std::uint32_t access; // the access replacing it counts as
    bool refuse_hidden;   // CopyFileW does not overwrite hidden files
};

std::error_code check_replaceable(const sharing_lock& held, const fs::path& destination,
                                  const struct stat& status, const destination_rules& rules) {
    if (rules.mode == replacement::forbidden)
        return rules.exists;
    if (S_ISDIR(status.st_mode) || is_read_only(status))
        return win32_error::access_denied;
    if (rules.refuse_hidden &&
        (reported_attributes(status, stored_attributes(destination, symlinks::refuse)) &
         file_attribute::hidden))
        return win32_error::access_denied;
    return check_path_sharing(held, destination, rules.access, file_share::all);
}

// Copies the open source to destination through a staged file. The machine-wide lock is let go
// while the bytes are copied and taken again to check and replace the destination.
std::error_code copy_into_place(std::optional<sharing_lock>& held, int source,
                                const struct stat& source_status, const fs::path& destination,
                                const destination_rules& rules) {
    held.reset();
    auto staged = staged_file::create_beside(destination);
    if (!staged)
        return staged.error();
    if (auto error = staged->fill_from(source, source_status))
        return error;
    auto relocked = sharing_lock::acquire();
    if (!relocked)
        return relocked.error();
    held.emplace(std::move(*relocked));
    auto existing = entry_at(destination);
    if (!existing)
        return existing.error();
    if (*existing) {
        if (auto error = check_replaceable(*held, destination, **existing, rules))
            return error;
    }
    const std::error_code committed = staged->commit(destination, rules.mode);
    if (committed == win32_error::already_exists)
        return rules.exists;
    return committed;
}

// A move of a file to another host file system: copy, then delete the original, which nobody
// may write or delete meanwhile.
std::error_code move_across(std::optional<sharing_lock>& held, const fs::path& source,
                            const struct stat& source_status, const fs::path& destination,
                            replacement mode) {
    auto descriptor = open_host(source, O_RDONLY | O_NOFOLLOW);
    if (!descriptor)
        return descriptor.error();
    if (auto conflict =
            claim_sharing(*held, descriptor->get(),
                          file_access::generic_read | file_access::delete_access, file_share::read))
        return conflict;
    const destination_rules rules{mode, win32_error::already_exists, file_access::delete_access,
                                  false};
    if (auto error = copy_into_place(held, descriptor->get(), source_status, destination, rules))
        return error;
    if (::unlink(source.c_str()) != 0)
        return lookup_error(source, errno);
    return {};
}

// The last component of a Windows path as it is spelled there.
std::wstring spelled_name(std::wstring_view path) {
    std::wstring full = full_path_name(path);
    while (!full.empty() && (full.back() == L'\\' || full.back() == L'/'))
        full.pop_back();
    return full.substr(full.find_last_of(L"\\/") + 1);
}

std::error_code move_entry(std::wstring_view from, std::wstring_view to, replacement mode) {
    if (auto failure = begin_file_operation())
        return failure;
    auto source = resolve_host(from);
    if (!source)
        return source.error();
    auto target = resolve_host(to);
    if (!target)
        return target.error();
    auto acquired = sharing_lock::acquire();
    if (!acquired)
        return acquired.error();
    std::optional<sharing_lock> held(std::move(*acquired));

    auto source_status = status_of(*source, symlinks::refuse);
    if (!source_status)
        return source_status.error();
    fs::path destination = *target;
    if (destination == *source) {
        // The destination names the source without case: a change of spelling only.
        destination = destination.parent_path() / to_utf8(spelled_name(to));
        if (destination == *source)
            return {};
    }
    auto existing = entry_at(destination);
    if (!existing)
        return existing.error();
    const bool is_folder = S_ISDIR(source_status->st_mode);
    if (*existing) {
        if (mode == replacement::allowed && is_folder)
            return win32_error::access_denied;
        const destination_rules rules{mode, win32_error::already_exists, file_access::delete_access,
                                      false};
        if (auto error = check_replaceable(*held, destination, **existing, rules))
            return error;
    }
    if (S_ISREG(source_status->st_mode)) {
        if (auto conflict =
                check_path_sharing(*held, *source, file_access::delete_access, file_share::all))
            return conflict;
    }
    if (rename_entry(*source, destination, mode) == 0)
        return {};
    if (errno == EEXIST)
        return win32_error::already_exists;
    if (errno != EXDEV)
        return lookup_error(destination, errno);
    if (!S_ISREG(source_status->st_mode))
        return win32_error::not_same_device;
    return move_across(held, *source, *source_status, destination, mode);
}

} // namespace

std::error_code move_file(std::wstring_view from, std::wstring_view to) {
    return move_entry(from, to, replacement::forbidden);
}

std::error_code move_file_replace(std::wstring_view from, std::wstring_view to) {
    return move_entry(from, to, replacement::allowed);
}

std::error_code copy_file(std::wstring_view from, std::wstring_view to, overwrite mode) {
    if (auto failure = begin_file_operation())
        return failure;
    auto source_host = resolve_host(from);
    if (!source_host)
        return source_host.error();
    auto destination = resolve_host(to);
    if (!destination)
        return destination.error();
    auto acquired = sharing_lock::acquire();
    if (!acquired)
        return acquired.error();
    std::optional<sharing_lock> held(std::move(*acquired));

    auto source = open_host(*source_host, O_RDONLY | O_NONBLOCK);
    if (!source)
        return source.error();
    auto source_status = status_of(*source);
    if (!source_status)
        return source_status.error();
    if (S_ISDIR(source_status->st_mode))
        return win32_error::access_denied;
    if (auto conflict = claim_sharing(*held, source->get(), file_access::generic_read,
                                      file_share::read | file_share::delete_access))
        return conflict;

    // Fail early, before copying anything, when the outcome is already known.
    struct stat existing {};
    if (::stat(destination->c_str(), &existing) == 0) {
        if (mode == overwrite::forbid)
            return win32_error::file_exists;
        if (existing.st_dev == source_status->st_dev && existing.st_ino == source_status->st_ino)
            return win32_error::sharing_violation;
    }
    const destination_rules rules{
        mode == overwrite::allow ? replacement::allowed : replacement::forbidden,
        win32_error::file_exists, file_access::generic_write | file_access::delete_access, true};
    return copy_into_place(held, source->get(), *source_status, *destination, rules);
}

} // namespace platform::os
