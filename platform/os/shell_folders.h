#pragma once
// The shell's special folders at their Windows locations on the machine, redirected or made
// unavailable by the "User Shell Folders" values of the registry.

#include "platform/os/error.h"

#include <cstdint>
#include <string>

namespace platform::os {

// CSIDL values, Windows' own numbers.
namespace csidl {
inline constexpr int programs = 2;
inline constexpr int personal = 5;
inline constexpr int start_menu = 11;
inline constexpr int desktop_directory = 16;
inline constexpr int common_start_menu = 22;
inline constexpr int common_programs = 23;
inline constexpr int common_desktop_directory = 25;
inline constexpr int appdata = 26;
inline constexpr int common_appdata = 35;
inline constexpr int windows = 36;
inline constexpr int system = 37;
inline constexpr int program_files = 38;
inline constexpr int program_files_common = 43;
inline constexpr int common_documents = 46;
inline constexpr int flag_create = 0x8000;
} // namespace csidl

// SHGetFolderPathW with flag 0 (the current location): S_OK and the folder in path; otherwise
// a failure HRESULT and path left empty. With csidl::flag_create in csidl the folder is created
// (with its parents) when missing; without it a missing folder fails with
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). An unknown CSIDL gives E_INVALIDARG; a folder whose
// "User Shell Folders" value is present and empty gives E_FAIL.
hresult get_folder_path(int csidl, std::wstring& path);

// SHGetSpecialFolderPathW: true with the folder in path, else false and path empty.
enum class folder_creation { existing_only, create };
bool get_special_folder_path(int csidl, std::wstring& path,
                             folder_creation creation = folder_creation::existing_only);

// SHGetKnownFolderPath(FOLDERID_Documents): the user's Documents folder, not verified.
std::wstring documents_known_folder();

// The Windows path a CSIDL folder has on this machine, after redirection, without checking
// that it exists; empty when the folder is unavailable or the CSIDL unknown.
std::wstring shell_folder_location(int csidl);

} // namespace platform::os
