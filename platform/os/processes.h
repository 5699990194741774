#pragma once
// Processes: starting a program of the machine as a host process (CreateProcessW), its handle
// (WaitForSingleObject, GetExitCodeProcess), and the program's own file name
// (GetModuleFileNameW).

#include "platform/os/command_line.h"
#include "platform/os/result.h"
#include "platform/os/wait_status.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform::os {

// GetExitCodeProcess's answer while the process runs.
inline constexpr std::uint32_t still_active = 259;

// A handle to a started process. Closing it leaves the process running, as on Windows; a
// process still running then is waited for by a thread of its own, so that it does not stay a
// zombie once it ends.
class process {
public:
    process(process&&) noexcept;
    process& operator=(process&&) noexcept;
    ~process();

    // The host process id (GetProcessId).
    std::uint32_t id() const;

    // Waits up to timeout_ms (infinite_timeout: without limit) for the process to end.
    result<wait_status> wait(std::uint32_t timeout_ms) const;

    // still_active while it runs. A host exit status of 128-255 reads as the negative 8-bit
    // number it stands for (exit(246) -> 0xFFFFFFF6). An end by a signal reads as Windows'
    // code for the like end: SIGSEGV and SIGBUS 0xC0000005 (access violation), SIGILL
    // 0xC000001D, SIGFPE 0xC0000094, SIGINT 0xC000013A (Ctrl+C), SIGABRT 3 (abort()), any other
    // signal 1, the code of a forced end.
    result<std::uint32_t> exit_code() const;

private:
    struct child;
    explicit process(std::unique_ptr<child> started);
    friend result<process> start_process(std::wstring_view command_line,
                                         std::wstring_view working_folder);

    std::unique_ptr<child> child_;
};

// Starts the command line's program, the first argument split as split_command_line does: a
// Windows path of the machine, a relative one taken against the process's current directory as
// CreateProcessW does, used as written (no search path, no ".exe" added). It runs as a host
// process with the other arguments as its argv (UTF-8; argv[0] is the program's host path),
// this process's environment, and working_folder (empty: the current directory) as its working
// folder. Errors: ERROR_INVALID_PARAMETER for an empty line, ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND for a missing program, ERROR_ACCESS_DENIED for a folder or a file without
// permission to run, ERROR_BAD_EXE_FORMAT for a file the host cannot run, ERROR_DIRECTORY for a
// working folder that is not an existing folder.
result<process> start_process(std::wstring_view command_line, std::wstring_view working_folder);

// The Windows path of this program's file, through the machine's drives (usually Z:\...);
// ERROR_PATH_NOT_FOUND when no drive reaches it.
result<std::wstring> module_file_name();

} // namespace platform::os
