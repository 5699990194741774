#pragma once
// The security functions report every failure as an exception carrying an HRESULT.

#include "platform/os/error.h"

#include <string>

namespace qv {

[[noreturn]] void throw_hresult(platform::os::hresult hr, const std::string& what);

// The HRESULT of a failed POSIX call: its errno as a Win32 code, in facility 7.
[[noreturn]] void throw_errno(int error_number, const std::string& what);

} // namespace qv
