#pragma once
// The built setup program as the user starts it: a process of its own with this process's
// environment (display, machine, language), ended by the test at the latest when the object goes,
// so that it never outlives the test.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace setup_test {

// How long one step of the user may take before the test gives up on it: generous, as the
// program runs under the sanitizers; it is there only so that a fault fails the test with a
// message instead of hanging it.
inline constexpr std::chrono::seconds step_limit{60};

// Polls until done() gives true; throws, naming what was awaited, when step_limit passes first.
template <class Condition> void wait_until(Condition done, const std::string& awaited) {
    const auto give_up = std::chrono::steady_clock::now() + step_limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up)
            throw std::runtime_error("gave up waiting for " + awaited);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

class setup_process {
public:
    setup_process() {
        char* argv[] = {const_cast<char*>(QV_SETUP_PROGRAM), nullptr};
        if (::posix_spawn(&pid_, QV_SETUP_PROGRAM, nullptr, nullptr, argv, environ) != 0)
            throw std::runtime_error("cannot start " + std::string(QV_SETUP_PROGRAM));
    }
    ~setup_process() {
        if (!exit_code_) {
            ::kill(pid_, SIGKILL);
            reap(0);
        }
    }
    setup_process(const setup_process&) = delete;
    setup_process& operator=(const setup_process&) = delete;

    pid_t id() const { return pid_; }

    // The exit code once the program has ended (128 + the signal when a signal ended it).
    std::optional<int> exit_code() {
        if (!exit_code_)
            reap(WNOHANG);
        return exit_code_;
    }

    // Throws when the program has ended, telling what it was expected to do instead.
    void expect_running(const std::string& doing) {
        if (const auto ended = exit_code())
            throw std::runtime_error("setup ended with " + std::to_string(*ended) + " while " +
                                     doing);
    }

    int wait_for_exit() {
        wait_until([this] { return exit_code().has_value(); }, "setup to end");
        return *exit_code_;
    }

private:
    void reap(int options) {
        int status = 0;
        pid_t reaped = 0;
        do
            reaped = ::waitpid(pid_, &status, options);
        while (reaped < 0 && errno == EINTR);
        if (reaped == pid_)
            exit_code_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    pid_t pid_ = -1;
    std::optional<int> exit_code_;
};

// Waits for a file the program makes while it runs, failing early when the program ends.
inline void wait_for_file(setup_process& program, const std::filesystem::path& file) {
    wait_until(
        [&] {
            program.expect_running("waiting for " + file.string());
            return std::filesystem::exists(file);
        },
        file.string() + " to appear");
}

} // namespace setup_test
