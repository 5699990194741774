#pragma once
// Shared by the resource tests: a machine folder with a folder for program files, and the bytes
// of strings and spans side by side.

#include "platform/os/error.h"
#include "platform/os/machine.h"

#include "tests/support/temp_machine.h"

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace resources_test {

inline std::string text_of(std::span<const std::byte> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

inline std::error_code code(platform::os::win32_error error) {
    return platform::os::make_error_code(error);
}

// Program files live in C:\Programs of a fresh machine.
class program_folder {
public:
    program_folder() {
        platform::os::machine_root();
        std::filesystem::create_directories(machine_.drive_c("Programs"));
    }
    std::wstring windows_path(std::wstring_view name) const {
        return L"C:\\Programs\\" + std::wstring(name);
    }
    std::filesystem::path host_path(std::string_view name) const {
        return machine_.drive_c("Programs") / name;
    }

private:
    qv_test::temp_machine machine_;
};

} // namespace resources_test
