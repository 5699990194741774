#pragma once
// The registration runs the installer starts after copying the product ("/Register /Background",
// with "/update=" when it replaced an older version) and the removal the uninstaller asks for
// ("/Unregister").

#include "product/varnolis/command.h"

namespace varnolis {

// What a registration run that succeeded exits with; the installer checks for exactly this.
inline constexpr int registered_exit_code = -10;
// A failed run, after its reason went to the standard error.
inline constexpr int failed_exit_code = 1;

// Writes the file association and the settings for the program's own path and version; with
// "/update=", takes over the previous version's preferences. registered_exit_code or
// failed_exit_code (a malformed "/update=" value, a registry that refuses the changes).
int run_registration(const command& request);

// Removes what the registration wrote. 0, or failed_exit_code.
int run_unregistration();

} // namespace varnolis
