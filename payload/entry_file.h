#pragma once
// The file an entry's content is written to, through the machine's file layer so that sharing,
// read-only protection, Windows error codes and the failing-operation hook apply.

#include "locations/shared_folders.h"
#include "platform/os/file_stream.h"

#include <memory>
#include <span>
#include <string>

namespace qv {

class entry_file {
public:
    // Makes an existing file at target writable, or creates the missing parent folders; opens
    // the shared folders the file lands in (grant_shared_folders); then creates or truncates the
    // file for writing, others may read it meanwhile but not write. A symbolic link at target is
    // never followed, nor replaced: the open fails with ERROR_ACCESS_DENIED. Throws
    // payload_file_error with the Windows code and the path concerned.
    entry_file(std::wstring target, shared_folder_list& shared);
    // What was written so far stays in the file.
    ~entry_file();
    entry_file(const entry_file&) = delete;
    entry_file& operator=(const entry_file&) = delete;

    // Throws payload_file_error.
    void write(std::span<const char> bytes);
    // Writes what is buffered and closes the file. Throws payload_file_error.
    void close();

private:
    std::wstring target_;
    std::unique_ptr<platform::os::file_streambuf> buffer_;
};

} // namespace qv
