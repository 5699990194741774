#pragma once
// The process's resident memory, to show how much an operation holds at its peak.

#include <cstdint>

namespace qv_bench {

// Starts a new peak: the kernel's high-water mark of resident memory is set back to the current
// resident size. False when this kernel does not allow it.
bool reset_peak_resident_memory();

// VmRSS and VmHWM of /proc/self/status, in bytes; 0 when unreadable.
std::uint64_t resident_memory();
std::uint64_t peak_resident_memory();

} // namespace qv_bench
