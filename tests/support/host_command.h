#pragma once
// Runs a program of the host (a compiler, localedef) for a test and waits for it.

#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace qv_test {

// The program's exit code; found on PATH. Its output goes to the test's output.
inline int run_host_command(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + arguments.front());
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        throw std::runtime_error("cannot wait for " + arguments.front());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace qv_test
