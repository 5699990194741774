#pragma once
// What a wait for a kernel object or a process ended with (WaitForSingleObject's results).

#include <cstdint>

namespace platform::os {

enum class wait_status : std::uint32_t {
    object_0 = 0,     // WAIT_OBJECT_0: signalled, or acquired
    abandoned = 0x80, // WAIT_ABANDONED: a mutex acquired after its owner ended without releasing
    timeout = 258,    // WAIT_TIMEOUT
};

// INFINITE: a wait that ends only when the object is signalled.
inline constexpr std::uint32_t infinite_timeout = 0xFFFFFFFF;

} // namespace platform::os
