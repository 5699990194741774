#pragma once
// Where the next installer run finds this installation's main program.

#include <string_view>
#include <system_error>

namespace qv {

// Stores the main program's path as "<product key name> Path" (REG_SZ, with its NUL) under
// HKLM "Software\<maker>", creating the key when needed. The value is not part of the
// installation's journal: a rollback leaves it.
std::error_code register_program_path(std::wstring_view program_path);

} // namespace qv
