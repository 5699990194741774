#pragma once
// The user's temporary folder and unique temporary file names in it (GetTempPathW,
// GetTempFileNameW).

#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::os {

// GetTempPathW: C:\users\<user>\AppData\Local\Temp\ with its trailing backslash, made when it
// is missing.
result<std::wstring> temporary_folder();

// GetTempFileNameW: folder\<up to 3 characters of prefix><hex>.tmp, the number in upper-case
// hexadecimal without leading zeros. Only the low 16 bits of unique are used. With unique = 0
// the system picks the number (starting from a value of its own in each process and counting
// on) and creates the empty file, so that no two calls in any processes return the same name;
// a folder that does not exist gives ERROR_DIRECTORY. With another unique nothing is created or
// checked.
result<std::wstring> temporary_file_name(std::wstring_view folder, std::wstring_view prefix,
                                         std::uint32_t unique = 0);

} // namespace platform::os
