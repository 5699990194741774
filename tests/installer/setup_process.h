#pragma once
// The built installer run as a user runs it without a display: unattended, its texts and log
// on its standard output, its exit code telling whether the product was installed.

#include "tests/support/child_process.h"
#include <cerrno>
#include <cstdlib>

#include <optional>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace qv_test {

struct setup_run {
    int exit_code = -1;
    // What the unattended run printed (UTF-8).
    std::string output;
};

using environment_changes = std::vector<std::pair<std::string, std::string>>;

// Runs the program to its end on the machine QV_MACHINE names, with QV_UI=unattended and the
// given variables set, as the given user when there is one.
setup_run run_setup(const environment_changes& environment = {},
                    std::optional<uid_t> as_user = std::nullopt);

namespace setup_process_detail {

[[noreturn]] inline void exec_setup(int output, const environment_changes& environment,
                                    std::optional<uid_t> as_user) {
    ::dup2(output, STDOUT_FILENO);
    ::setenv("QV_UI", "unattended", 1);
    for (const auto& [name, value] : environment)
        ::setenv(name.c_str(), value.c_str(), 1);
    if (as_user && !become_user(*as_user))
        ::_exit(126);
    ::execl(QV_SETUP_PROGRAM, QV_SETUP_PROGRAM, static_cast<char*>(nullptr));
    ::_exit(127);
}

} // namespace setup_process_detail

inline setup_run run_setup(const environment_changes& environment, std::optional<uid_t> as_user) {
    int ends[2];
    if (::pipe(ends) != 0)
        throw std::runtime_error("pipe");
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        setup_process_detail::exec_setup(ends[1], environment, as_user);
    }
    ::close(ends[1]);
    setup_run run;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(ends[0], buffer, sizeof buffer);
        if (got > 0)
            run.output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    ::close(ends[0]);
    if (child < 0)
        throw std::runtime_error("fork");
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

} // namespace qv_test
