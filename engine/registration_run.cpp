#include "engine/registration_run.h"

#include "platform/os/processes.h"
#include "platform/os/shell_path.h"
#include "platform/os/wait_status.h"

namespace qv {
namespace os = platform::os;
namespace {

os::result<std::uint32_t> run_to_end(std::wstring_view command_line,
                                     std::wstring_view working_folder) {
    const auto started = os::start_process(command_line, working_folder);
    if (!started)
        return started.error();
    if (const auto waited = started->wait(os::infinite_timeout); !waited)
        return waited.error();
    return started->exit_code();
}

} // namespace

std::wstring registration_command_line(std::wstring_view program_path,
                                       packed_version installed_version) {
    std::wstring command_line(program_path);
    os::path_quote_spaces(command_line);
    command_line += L" /Register /Background";
    if (installed_version != 0)
        command_line += L" /update=" + packed_version_hex(installed_version);
    return command_line;
}

os::result<std::uint32_t> run_registration(std::wstring_view program_path,
                                           packed_version installed_version,
                                           named_mutex_guard& instance_mutex) {
    std::wstring working_folder(program_path);
    os::path_remove_file_spec(working_folder);
    // While it runs, the program must not find the installer's mutex taken.
    instance_mutex.release();
    auto exit_code =
        run_to_end(registration_command_line(program_path, installed_version), working_folder);
    instance_mutex.acquire();
    return exit_code;
}

} // namespace qv
