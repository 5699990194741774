#pragma once
// What the program says on its standard error: the registration runs have no window, so the
// reason of a failure is told there.

#include <string_view>
#include <system_error>

namespace varnolis {

// "Varnolis: <message>"
void report(std::wstring_view message);

// "Varnolis: <what>: <the system's text for the code> (<code>)"
void report_failure(std::wstring_view what, const std::error_code& error);

} // namespace varnolis
