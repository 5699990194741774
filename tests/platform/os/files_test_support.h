#pragma once
// Small helpers for the file layer's tests: Windows error codes to compare against, and whole
// files read and written through the layer.

#include "platform/os/error.h"
#include "platform/os/files.h"

#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>

namespace files_test {

// The code a call returns for error; success is the empty code the layer returns.
inline std::error_code code(platform::os::win32_error error) {
    if (error == platform::os::win32_error::success)
        return {};
    return platform::os::make_error_code(error);
}

inline std::span<const std::byte> bytes_of(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

// Makes or overwrites a file holding text.
inline void put_file(std::wstring_view path, std::string_view text) {
    namespace os = platform::os;
    auto file = os::create_file(path, os::file_access::generic_write, os::file_share::none,
                                os::creation::create_always);
    ASSERT_TRUE(file) << file.error().message();
    ASSERT_FALSE(file->write(bytes_of(text)));
}

// The whole content read through an open handle from its current position.
inline std::string read_rest(platform::os::file_handle& file) {
    std::string content;
    char chunk[4096];
    for (;;) {
        auto count = file.read(std::as_writable_bytes(std::span(chunk)));
        if (!count || *count == 0)
            return content;
        content.append(chunk, *count);
    }
}

} // namespace files_test
