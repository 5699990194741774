#pragma once
// Runs a piece of a test in a forked child process, optionally as another user, so that
// cross-process behaviour (locks, sharing, kernel objects) is tested against a real process.

#include <functional>
#include <optional>
#include <stdexcept>
#include <sys/types.h>
#include <unistd.h>

namespace qv_test {

// A pipe whose ends close with it: one process signals, the other waits.
class pipe_pair {
public:
    pipe_pair() {
        if (::pipe(ends_) != 0)
            throw std::runtime_error("pipe");
    }
    ~pipe_pair() {
        close_reading();
        close_writing();
    }
    void close_reading() { close_end(ends_[0]); }
    void close_writing() { close_end(ends_[1]); }
    void signal() {
        const char byte = 1;
        if (::write(ends_[1], &byte, 1) != 1)
            throw std::runtime_error("pipe write");
    }
    // Waits for a signal or for the other side to close; true on a signal.
    bool wait() {
        char byte = 0;
        return ::read(ends_[0], &byte, 1) == 1;
    }

private:
    static void close_end(int& end) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
    int ends_[2] = {-1, -1};
};

// The child's exit code: body's result, or 125 when it threw, 126 when the user switch failed.
int run_in_child(const std::function<int()>& body, std::optional<uid_t> as_user = std::nullopt);

// Makes this process run as the user (with the user's group and no others); false when it cannot.
bool become_user(uid_t user);

// An unprivileged user id to switch to ("nobody").
uid_t unprivileged_user();

// A child that runs body in the background until joined.
class background_child {
public:
    explicit background_child(const std::function<int()>& body);
    ~background_child();
    background_child(const background_child&) = delete;
    background_child& operator=(const background_child&) = delete;
    int join();
    // Kills the child with SIGKILL, as a crash would end it, and reaps it.
    void kill();

private:
    pid_t pid_ = -1;
};

} // namespace qv_test
