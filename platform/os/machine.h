#pragma once
// The machine folder that plays the Windows machine: its root, its layout, its drives, the
// translation of Windows paths to host paths, and who the user is.

#include "platform/os/result.h"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace platform::os {

// $QV_MACHINE, else ${XDG_DATA_HOME:-$HOME/.local/share}/qv-machine. Read on every call, so a
// process sees the machine its environment names.
std::filesystem::path configured_machine_root();

// The machine root with its layout in place: created on the first use of each root in a
// process, idempotently and safely when several processes start at once. Throws machine_error,
// naming the folder, when the layout cannot be made.
std::filesystem::path machine_root();

class machine_error : public std::system_error {
public:
    machine_error(std::error_code code, const std::string& what) : std::system_error(code, what) {}
};

// The host path that a Windows path names on this machine: drives through
// <root>/dosdevices/<letter>:, existing components matched without case, missing ones as given.
// Fails with ERROR_INVALID_NAME for characters Windows forbids in names, ERROR_PATH_NOT_FOUND for
// a drive the machine does not have, ERROR_BAD_NETPATH for network paths, and
// ERROR_FILENAME_EXCED_RANGE when the full path does not fit MAX_PATH.
result<std::filesystem::path> host_path(std::wstring_view windows_path);

// The Windows path by which this machine's drives reach a host path, if any does.
std::optional<std::wstring> windows_path_of_host(const std::filesystem::path& host);

// Login name of the effective user.
std::wstring user_name();

// The effective user is root or owns the machine folder.
bool is_administrator();

} // namespace platform::os
