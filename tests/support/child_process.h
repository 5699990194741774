#pragma once
// Runs a piece of a test in a forked child process, optionally as another user, so that
// cross-process behaviour (locks, sharing, kernel objects) is tested against a real process.

#include <functional>
#include <optional>
#include <sys/types.h>

namespace qv_test {

// The child's exit code: body's result, or 125 when it threw, 126 when the user switch failed.
int run_in_child(const std::function<int()>& body, std::optional<uid_t> as_user = std::nullopt);

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
