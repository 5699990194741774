#pragma once
// Where a named kernel object lives on the machine: one file per name in <machine>/.kernel/.

#include "platform/os/result.h"

#include <filesystem>
#include <string_view>

namespace platform::os::kernel_detail {

// The object file of a name. "Global\", "Local\" and no prefix are one namespace (the machine has
// a single session); the rest of the name is case-sensitive as Windows object names are. Fails
// with ERROR_INVALID_NAME for an empty name, ERROR_PATH_NOT_FOUND when the rest holds a '\' (an
// object folder that does not exist), and ERROR_FILENAME_EXCED_RANGE for a name longer than
// MAX_PATH or one whose escaped form does not fit a host file name.
result<std::filesystem::path> object_file_path(std::wstring_view name);

} // namespace platform::os::kernel_detail
