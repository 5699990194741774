#include "platform/os/processes.h"

#include "platform/os/full_path.h"
#include "platform/os/host_descriptor.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <mutex>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace platform::os {
namespace fs = std::filesystem;
namespace {

std::uint32_t windows_exit_code(const siginfo_t& ended) {
    if (ended.si_code == CLD_EXITED) {
        // The host keeps the low byte of a program's code, so a small negative code such as -10
        // arrives as 246.
        return static_cast<std::uint32_t>(
            static_cast<std::int32_t>(static_cast<std::int8_t>(ended.si_status)));
    }
    switch (ended.si_status) {
    case SIGSEGV:
    case SIGBUS:
        return 0xC0000005;
    case SIGILL:
        return 0xC000001D;
    case SIGFPE:
        return 0xC0000094;
    case SIGINT:
        return 0xC000013A;
    case SIGABRT:
        return 3;
    default:
        return 1;
    }
}

// The status of pid once it has ended, collected; nothing while it runs.
result<std::optional<siginfo_t>> collect(pid_t pid) {
    siginfo_t ended{};
    int done = -1;
    do {
        done = ::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG);
    } while (done != 0 && errno == EINTR);
    if (done != 0)
        return last_errno_error();
    if (ended.si_pid == 0)
        return std::optional<siginfo_t>();
    return std::optional(ended);
}

class spawn_attributes {
public:
    spawn_attributes() {
        ::posix_spawnattr_init(&attributes_);
        // A new process starts with no signal blocked or ignored, whatever this one does.
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        ::posix_spawnattr_setsigmask(&attributes_, &none);
        ::posix_spawnattr_setsigdefault(&attributes_, &all);
        ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~spawn_attributes() { ::posix_spawnattr_destroy(&attributes_); }
    spawn_attributes(const spawn_attributes&) = delete;
    spawn_attributes& operator=(const spawn_attributes&) = delete;
    const posix_spawnattr_t* get() const { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

class spawn_actions {
public:
    spawn_actions() { ::posix_spawn_file_actions_init(&actions_); }
    ~spawn_actions() { ::posix_spawn_file_actions_destroy(&actions_); }
    spawn_actions(const spawn_actions&) = delete;
    spawn_actions& operator=(const spawn_actions&) = delete;
    std::error_code change_folder(const fs::path& folder) {
        return error_from_errno(::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()));
    }
    const posix_spawn_file_actions_t* get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

result<fs::path> program_file(std::wstring_view program) {
    auto host = files_detail::resolve_host(program);
    if (!host)
        return host.error();
    auto status = files_detail::status_of(*host, symlinks::follow);
    if (!status)
        return status.error();
    if (!S_ISREG(status->st_mode))
        return win32_error::access_denied;
    return host;
}

result<fs::path> working_folder_of(std::wstring_view folder) {
    const std::wstring windows = folder.empty() ? current_directory() : std::wstring(folder);
    auto host = files_detail::resolve_host(windows);
    struct stat status {};
    if (!host || ::stat(host->c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return win32_error::directory;
    return host;
}

} // namespace

struct process::child {
    child(pid_t pid, files_detail::unique_descriptor ended) : pid(pid), ended(std::move(ended)) {}
    ~child();

    // The exit code once the process has ended, collected on the first look after its end.
    result<std::optional<std::uint32_t>> look() {
        std::lock_guard lock(mutex);
        if (!exit_code) {
            auto status = collect(pid);
            if (!status)
                return status.error();
            if (*status)
                exit_code = windows_exit_code(**status);
        }
        return exit_code;
    }

    const pid_t pid;
    // Readable once the process has ended (a pidfd), so that waits need no polling.
    const files_detail::unique_descriptor ended;
    std::mutex mutex;
    std::optional<std::uint32_t> exit_code;
};

process::child::~child() {
    if (exit_code)
        return;
    if (auto status = collect(pid); status && *status)
        return;
    try {
        std::thread([pid = pid] {
            siginfo_t status{};
            while (::waitid(P_PID, static_cast<id_t>(pid), &status, WEXITED) != 0 &&
                   errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread the ended process stays a zombie until this process ends.
    }
}

process::process(std::unique_ptr<child> started) : child_(std::move(started)) {}
process::process(process&&) noexcept = default;
process& process::operator=(process&&) noexcept = default;
process::~process() = default;

std::uint32_t process::id() const {
    return child_ ? static_cast<std::uint32_t>(child_->pid) : 0;
}

result<wait_status> process::wait(std::uint32_t timeout_ms) const {
    if (!child_)
        return win32_error::invalid_handle;
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        auto ended = child_->look();
        if (!ended)
            return ended.error();
        if (*ended)
            return wait_status::object_0;
        int wait_ms = -1;
        if (timeout_ms != infinite_timeout) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - clock::now()).count();
            if (left <= 0)
                return wait_status::timeout;
            wait_ms = static_cast<int>(std::min<long long>(left, INT_MAX));
        }
        pollfd readable{child_->ended.get(), POLLIN, 0};
        if (::poll(&readable, 1, wait_ms) < 0 && errno != EINTR)
            return last_errno_error();
    }
}

result<std::uint32_t> process::exit_code() const {
    if (!child_)
        return win32_error::invalid_handle;
    auto ended = child_->look();
    if (!ended)
        return ended.error();
    return ended->value_or(still_active);
}

result<process> start_process(std::wstring_view command_line, std::wstring_view working_folder) {
    if (command_line.empty())
        return win32_error::invalid_parameter;
    const std::vector<std::wstring> arguments = split_command_line(command_line);
    auto program = program_file(arguments.front());
    if (!program)
        return program.error();
    auto folder = working_folder_of(working_folder);
    if (!folder)
        return folder.error();

    std::vector<std::string> texts{program->string()};
    for (std::size_t i = 1; i < arguments.size(); ++i)
        texts.push_back(to_utf8(arguments[i]));
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    spawn_actions actions;
    if (auto error = actions.change_folder(*folder))
        return error;
    const spawn_attributes attributes;
    pid_t pid = -1;
    if (const int failed = ::posix_spawn(&pid, program->c_str(), actions.get(), attributes.get(),
                                         argv.data(), environ))
        return error_from_errno(failed);

    // Through syscall(): this C library's <sys/pidfd.h> declares pidfd_open without C linkage.
    files_detail::unique_descriptor ended(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    if (!ended.valid()) {
        // A process this handle could not follow must not run on unseen.
        const std::error_code error = last_errno_error();
        ::kill(pid, SIGKILL);
        siginfo_t status{};
        ::waitid(P_PID, static_cast<id_t>(pid), &status, WEXITED);
        return error;
    }
    return process(std::make_unique<process::child>(pid, std::move(ended)));
}

result<std::wstring> module_file_name() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return error_from_errno(error.value());
    try {
        machine_root();
    } catch (const machine_error& failure) {
        return failure.code();
    }
    auto windows = windows_path_of_host(self);
    if (!windows)
        return win32_error::path_not_found;
    return *windows;
}

} // namespace platform::os
