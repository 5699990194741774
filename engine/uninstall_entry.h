#pragma once
// The product's entry in the system's list of installed programs: its key under HKLM
// "Software\Microsoft\Windows\CurrentVersion\Uninstall", which the next installer run also reads
// for the uninstaller's place and the interface language.

#include "app/language_table.h"
#include "platform/os/registry.h"

#include <functional>
#include <string_view>
#include <system_error>

namespace qv {

inline constexpr std::wstring_view uninstall_key_path =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Told once the product key is open and before any value is written: with the key when it
// existed before (so that its content can be saved first), with none when it was just created.
// An error it returns (the content could not be saved) ends the step before any value is written.
using uninstall_key_opened =
    std::function<std::error_code(const platform::os::registry_key* existing)>;

// The installation's registry step: opens the Uninstall key with full access, creates or opens
// the product key ("Varnolis 2") below it, tells on_opened, then writes DisplayName,
// UninstallString, DisplayIcon, DisplayVersion, Publisher, URLInfoAbout, HelpLink,
// URLUpdateInfo, HelpTelephone, NoModify, NoRepair and QvLanguage in that order. The key's other
// values stay as they are. The step succeeds when the key was opened and DisplayName and
// UninstallString were stored; the other values are written as far as they can be. Returns the
// error that made it fail (ERROR_ACCESS_DENIED for a user who is not an administrator, or what
// on_opened returned), else success. on_opened is not told when the key could not be opened or
// created.
std::error_code write_uninstall_entry(std::wstring_view program_path,
                                      std::wstring_view uninstaller_path, language_index language,
                                      const uninstall_key_opened& on_opened);

} // namespace qv
