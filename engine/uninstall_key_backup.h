#pragma once
// The product's key under the machine's Uninstall key, and its backup as a saved registry file
// in the user's temporary folder.

#include "platform/os/result.h"

#include <string>
#include <string_view>
#include <system_error>

namespace platform::os {
class registry_key;
}

namespace qv {

// Below HKEY_LOCAL_MACHINE.
inline constexpr std::wstring_view uninstall_key_path =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// "HKEY_LOCAL_MACHINE\Software\...\Uninstall\Varnolis 2", as the uninstall log names the key.
std::wstring uninstall_key_full_name();

// Saves the key with its values and subkeys to a reserved "qv" name in the temporary folder,
// under the backup privilege; on failure no file is left.
platform::os::result<std::wstring> save_key_backup(const platform::os::registry_key& key);

// Gives the product key the content saved in backup, under the restore privilege, creating the
// key when it was deleted meanwhile, then deletes the backup. On failure the backup stays.
std::error_code restore_uninstall_key(std::wstring_view backup);

// Deletes the product key and everything under it; a key that is not there is no failure.
std::error_code delete_uninstall_key();

} // namespace qv
