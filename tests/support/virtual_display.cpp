#include "tests/support/virtual_display.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qv_test {

namespace {

class spawn_actions {
public:
    spawn_actions() { ::posix_spawn_file_actions_init(&actions_); }
    ~spawn_actions() { ::posix_spawn_file_actions_destroy(&actions_); }
    spawn_actions(const spawn_actions&) = delete;
    spawn_actions& operator=(const spawn_actions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

class fd_pair {
public:
    fd_pair() {
        if (::pipe(ends_) != 0)
            throw std::runtime_error("pipe");
    }
    ~fd_pair() {
        close_reading();
        close_writing();
    }
    fd_pair(const fd_pair&) = delete;
    fd_pair& operator=(const fd_pair&) = delete;
    int reading() const { return ends_[0]; }
    int writing() const { return ends_[1]; }
    void close_writing() { close_end(ends_[1]); }
    void close_reading() { close_end(ends_[0]); }

private:
    static void close_end(int& end) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
    int ends_[2] = {-1, -1};
};

std::string read_all(int fd) {
    std::string out;
    char buffer[256];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return out;
        out.append(buffer, static_cast<std::size_t>(got));
    }
}

std::vector<char*> argv_of(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}

int wait_for(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid");
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

virtual_display::virtual_display() {
    // Xvfb writes the number of the display it found free to this descriptor once it listens.
    fd_pair number;
    const std::string fd_text = std::to_string(number.writing());
    spawn_actions actions;
    ::posix_spawn_file_actions_addclose(actions.get(), number.reading());
    ::posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // -noreset: by default the server resets when its last client leaves, and a client that
    // connects during the reset (a program started right after a probe of the display) is
    // refused.
    const std::vector<std::string> arguments{"Xvfb",        "-displayfd", fd_text, "-screen", "0",
                                             "1024x768x24", "-nolisten",  "tcp",   "-noreset"};
    auto argv = argv_of(arguments);
    if (::posix_spawnp(&server_, "Xvfb", actions.get(), nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start Xvfb");
    number.close_writing();
    std::string line;
    char c = 0;
    while (::read(number.reading(), &c, 1) == 1 && c != '\n')
        line += c;
    if (line.empty()) {
        wait_for(server_);
        throw std::runtime_error("Xvfb did not open a display");
    }
    name_ = ":" + line;
    ::setenv("DISPLAY", name_.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
}

virtual_display::~virtual_display() {
    ::kill(server_, SIGTERM);
    wait_for(server_);
}

std::string host_output(const std::vector<std::string>& arguments) {
    fd_pair output;
    spawn_actions actions;
    ::posix_spawn_file_actions_adddup2(actions.get(), output.writing(), STDOUT_FILENO);
    ::posix_spawn_file_actions_addclose(actions.get(), output.reading());
    auto argv = argv_of(arguments);
    pid_t child = -1;
    if (::posix_spawnp(&child, argv[0], actions.get(), nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start " + arguments.front());
    output.close_writing();
    std::string out = read_all(output.reading());
    if (wait_for(child) != 0)
        throw std::runtime_error(arguments.front() + " failed");
    return out;
}

} // namespace qv_test
