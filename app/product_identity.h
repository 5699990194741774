#pragma once
// Who this product is: its names, its version, and where an earlier installation of it lives.

#include "app/packed_version.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The product's code in the maker's product table.
inline constexpr std::uint32_t product_code = 258;
inline constexpr std::wstring_view product_base_name = L"Varnolis";
inline constexpr std::wstring_view display_version = L"2.32g";
inline constexpr std::wstring_view product_version_text = L"2.32.7.1";
inline constexpr packed_version product_version = make_packed_version(0x00020020u, 0x00070001u);
// Names the "Software\Quorvane" key and the program-files and program-group folders.
inline constexpr std::wstring_view maker_folder_name = L"Quorvane";

enum class product_name_form { plain, with_version };

// "Varnolis", or with the version "Varnolis 2.32g".
std::wstring product_name(product_name_form form);

// The key name of a product of the maker ("Varnolis 2" for 258). Any other code is a
// programming error: std::logic_error.
std::wstring product_key_name(std::uint32_t code);

// The installer's application id: the "ApplicationId" string of its own version resource, else
// its program file's name without extension. Fixed once per process.
std::wstring application_id();

// The main program of an earlier installation: the "<key name> Path" value under HKLM
// "Software\Quorvane" when it names an existing file or folder, else empty. Computed once per
// process; registry failures other than "not found" are raised as std::system_error.
std::wstring registered_program_path();

inline constexpr std::wstring_view uninstall_log_file_name = L"Uninstall.ulog";

// The earlier installation's uninstall log: beside the uninstaller its uninstall entry names,
// else beside this installer, else beside the registered program; empty when none exists.
std::wstring find_uninstall_log();

} // namespace qv
