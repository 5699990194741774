#pragma once
// Replacing the whole content of a file so that no reader, and no crash, ever finds it half
// written.

#include <cstddef>
#include <span>
#include <string_view>
#include <system_error>

namespace platform::os {

// Writes content into a new temporary file in path's folder, flushes it and moves it over path
// (or into place when there is no file yet); the temporary is deleted when any step fails, so
// path keeps either its old content or gets the complete new one. Fails like the file layer: a
// folder that does not exist gives ERROR_PATH_NOT_FOUND, a read-only file or a folder at path
// ERROR_ACCESS_DENIED, a file held open without share-delete ERROR_SHARING_VIOLATION.
std::error_code replace_file_content(std::wstring_view path, std::span<const std::byte> content);

} // namespace platform::os
