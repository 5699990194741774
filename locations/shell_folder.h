#pragma once
// The shell folder a destination placeholder stands for.

#include <string>

namespace qv {

enum class shell_fallback { forbidden, allowed };

// The folder of a CSIDL value in its current location; when the shell gives none and the fallback
// is allowed, the folder of fallback_csidl. Throws std::system_error with
// compress_error::unexpected when no folder is found.
std::wstring get_shell_folder(int csidl, int fallback_csidl, shell_fallback fallback);

} // namespace qv
