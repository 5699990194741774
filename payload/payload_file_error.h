#pragma once
// A failure of a file operation of the extraction, with the Windows path it concerns, so that the
// failure can name the file even when no entry was being written.

#include <string>
#include <system_error>

namespace qv {

class payload_file_error : public std::system_error {
public:
    payload_file_error(const char* operation, std::wstring path, std::error_code code)
        : std::system_error(code, operation), path_(std::move(path)) {}

    const std::wstring& path() const { return path_; }

private:
    std::wstring path_;
};

} // namespace qv
