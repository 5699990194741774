#include "bench/resident_memory.h"

#include <fstream>
#include <sstream>
#include <string>

namespace qv_bench {
namespace {

std::uint64_t status_field(const std::string& name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name + ":")) {
            std::istringstream fields(line.substr(name.size() + 1));
            std::uint64_t kilobytes = 0;
            fields >> kilobytes;
            return kilobytes * 1024;
        }
    }
    return 0;
}

} // namespace

bool reset_peak_resident_memory() {
    // Writing 5 to clear_refs resets the peak resident size (Linux 4.0 and later).
    std::ofstream clear_refs("/proc/self/clear_refs");
    clear_refs << "5";
    clear_refs.flush();
    return static_cast<bool>(clear_refs);
}

std::uint64_t resident_memory() {
    return status_field("VmRSS");
}

std::uint64_t peak_resident_memory() {
    return status_field("VmHWM");
}

} // namespace qv_bench
