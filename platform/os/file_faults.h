#pragma once
// Failing one chosen file operation of a process, so that rollback paths can be driven from the
// outside: QV_FAIL_FILE_OPERATION=<n>:<win32 code> in the environment (read at the process's
// first file operation), or fail_file_operation() from within.
//
// Counted operations, from 1: create_file, each read or write call of a file_handle,
// delete_file, move_file, move_file_replace, copy_file, create_directory, remove_directory,
// set_file_attributes and temporary_file_name. Queries (attributes, identity, existence, the
// temporary folder) and seek, size, flush and close of a handle are not counted.

#include <cstdint>
#include <system_error>

namespace platform::os {

// The n-th counted operation from now fails with code and changes nothing; n = 0 disables.
void fail_file_operation(std::uint64_t n, std::uint32_t code);

// Counts one operation; the code it must fail with when it is the chosen one, else success.
std::error_code begin_file_operation();

} // namespace platform::os
