#pragma once
// The registry traces of the installation that the uninstaller removes last: the product's
// uninstall entry and the registered program path the next installer looks for.

#include <string>
#include <system_error>

namespace uninstaller {

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnolis 2", under HKEY_LOCAL_MACHINE.
std::wstring product_uninstall_key_path();

// Deletes the product's uninstall key with everything below it; one already gone is fine.
std::error_code remove_uninstall_entry();

// Deletes the "Varnolis 2 Path" value under HKEY_LOCAL_MACHINE "Software\Quorvane", then that
// key when nothing else is left in it; values already gone are fine.
std::error_code remove_registered_program_path();

} // namespace uninstaller
