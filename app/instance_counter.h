#pragma once
// Counts the running programs that share this application id (normally the installed product
// and this installer) through a named semaphore: each registers one unit for its lifetime.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// "Global\" + application id + the instance counter's fixed suffix.
std::wstring instance_counter_name(std::wstring_view application_id);

// Registers this process on first use (the registration lasts until the process ends), then
// returns how many registrations all running processes hold, this one included; 0 when the
// counter cannot be used.
std::int32_t running_instance_count(std::wstring_view application_id);

} // namespace qv
