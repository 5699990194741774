#pragma once
// The product's settings under HKEY_LOCAL_MACHINE "Software\Quorvane\Varnolis 2": the installed
// version and folder, and the machine's default preferences, kept per version in a subkey named
// after the version ("...\Varnolis 2\2.32.7.1"), so that an update can take over the previous
// version's choices.

#include "app/packed_version.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace varnolis {

// "Software\Quorvane\Varnolis 2"
std::wstring settings_key_path();

struct installed_program {
    qv::packed_version version = 0;
    std::wstring folder;
};

// Writes "Version" and "InstallPath", and the defaults of the version's preferences where the
// user has none yet (a reinstallation keeps the user's choices). With previous (an update), the
// previous version's preferences, if any, are moved into this version's first, and
// "MigratedFrom" names the previous version.
std::error_code write_settings(const installed_program& program,
                               std::optional<qv::packed_version> previous);

// Removes what write_settings wrote for this version, then the settings key and the maker's key
// when nothing is left in them. What is already gone is no error.
std::error_code remove_settings(qv::packed_version version);

} // namespace varnolis
