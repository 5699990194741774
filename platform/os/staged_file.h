#pragma once
// A file written beside its destination under a hidden temporary name and renamed into place
// at the end, so that a failed copy never leaves a damaged destination behind.

#include "platform/os/host_descriptor.h"

#include <filesystem>
#include <system_error>

namespace platform::os::files_detail {

enum class replacement { forbidden, allowed };

class staged_file {
public:
    // A new empty file in the destination's folder.
    static result<staged_file> create_beside(const std::filesystem::path& destination);

    staged_file(staged_file&& other) noexcept;
    staged_file& operator=(staged_file&&) = delete;
    staged_file(const staged_file&) = delete;
    ~staged_file();

    int descriptor() const { return descriptor_.get(); }

    // Gives it the content, permission, stored attributes and modification time of source.
    std::error_code fill_from(int source, const struct stat& source_status);

    // Renames it to destination; when replacement is forbidden, an existing destination gives
    // ERROR_ALREADY_EXISTS and stays as it is.
    std::error_code commit(const std::filesystem::path& destination, replacement mode);

private:
    staged_file(std::filesystem::path path, unique_descriptor descriptor)
        : path_(std::move(path)), descriptor_(std::move(descriptor)) {}

    std::filesystem::path path_;
    unique_descriptor descriptor_;
};

// rename(2), or renameat2(2) with RENAME_NOREPLACE, with errno left for the caller.
int rename_entry(const std::filesystem::path& from, const std::filesystem::path& to,
                 replacement mode);

} // namespace platform::os::files_detail
