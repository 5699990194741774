#pragma once
// The installed program's registration run: started once, with the installer's single-instance
// mutex given up meanwhile, so that the program can register itself.

#include "app/instance_mutex.h"
#include "app/packed_version.h"
#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// What the program answers when its registration succeeded.
inline constexpr std::uint32_t registration_succeeded = 0xFFFFFFF6;

// The program quoted when it has a blank, then " /Register /Background", and when updating an
// earlier version " /update=" with that version in 16 lower-case hexadecimal digits.
std::wstring registration_command_line(std::wstring_view program_path,
                                       packed_version installed_version);

// Releases the instance mutex, runs the command line in the program's folder and waits for its
// end without limit, then takes the mutex back without waiting, whether or not the program
// started. The program's exit code, or why it could not be started.
platform::os::result<std::uint32_t> run_registration(std::wstring_view program_path,
                                                     packed_version installed_version,
                                                     named_mutex_guard& instance_mutex);

} // namespace qv
