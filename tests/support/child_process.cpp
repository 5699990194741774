#include "tests/support/child_process.h"

#include <cerrno>
#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qv_test {
namespace {

[[noreturn]] void run_child(const std::function<int()>& body, std::optional<uid_t> as_user) {
    if (as_user && !become_user(*as_user))
        ::_exit(126);
    int code = 125;
    try {
        code = body();
    } catch (...) {
        code = 125;
    }
    ::_exit(code);
}

int wait_for(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

bool become_user(uid_t user) {
    const passwd* entry = ::getpwuid(user);
    const gid_t group = entry ? entry->pw_gid : static_cast<gid_t>(user);
    return ::setgroups(0, nullptr) == 0 && ::setresgid(group, group, group) == 0 &&
           ::setresuid(user, user, user) == 0;
}

int run_in_child(const std::function<int()>& body, std::optional<uid_t> as_user) {
    const pid_t pid = ::fork();
    if (pid == 0)
        run_child(body, as_user);
    if (pid < 0)
        return -1;
    return wait_for(pid);
}

uid_t unprivileged_user() {
    const passwd* entry = ::getpwnam("nobody");
    return entry ? entry->pw_uid : 65534;
}

background_child::background_child(const std::function<int()>& body) {
    pid_ = ::fork();
    if (pid_ == 0)
        run_child(body, std::nullopt);
}

background_child::~background_child() {
    kill();
}

void background_child::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        wait_for(pid_);
        pid_ = -1;
    }
}

int background_child::join() {
    const int code = wait_for(pid_);
    pid_ = -1;
    return code;
}

} // namespace qv_test
