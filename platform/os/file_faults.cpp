#include "platform/os/file_faults.h"

#include "platform/os/error.h"

#include <charconv>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <unistd.h>

namespace platform::os {
namespace {

struct fault_plan {
    // A forked child is another process: it reads its own environment and counts afresh.
    pid_t process = 0;
    std::uint64_t performed = 0;
    std::uint64_t failing = 0;
    std::uint32_t code = 0;
};

std::mutex& plan_mutex() {
    static std::mutex mutex;
    return mutex;
}

fault_plan& plan() {
    static fault_plan value;
    return value;
}

// "<n>:<code>"; anything else disables the hook.
void read_environment(fault_plan& target) {
    target.failing = 0;
    target.code = 0;
    const char* text = std::getenv("QV_FAIL_FILE_OPERATION");
    if (!text)
        return;
    const std::string_view value(text);
    const std::size_t colon = value.find(':');
    if (colon == std::string_view::npos)
        return;
    std::uint64_t n = 0;
    std::uint32_t code = 0;
    const auto n_end = value.data() + colon;
    const auto code_end = value.data() + value.size();
    if (std::from_chars(value.data(), n_end, n).ptr != n_end ||
        std::from_chars(n_end + 1, code_end, code).ptr != code_end)
        return;
    target.failing = n;
    target.code = code;
}

fault_plan& current_plan() {
    fault_plan& current = plan();
    if (current.process != ::getpid()) {
        current.process = ::getpid();
        current.performed = 0;
        read_environment(current);
    }
    return current;
}

} // namespace

void fail_file_operation(std::uint64_t n, std::uint32_t code) {
    std::lock_guard lock(plan_mutex());
    fault_plan& current = current_plan();
    current.failing = n == 0 ? 0 : current.performed + n;
    current.code = code;
}

std::error_code begin_file_operation() {
    std::lock_guard lock(plan_mutex());
    fault_plan& current = current_plan();
    ++current.performed;
    if (current.failing != 0 && current.performed == current.failing)
        return win32_error_code(current.code);
    return {};
}

} // namespace platform::os
