#pragma once
// The association of Varnolis documents (".vnl") with the program, under HKEY_CLASSES_ROOT.

#include <string_view>
#include <system_error>

namespace varnolis {

inline constexpr std::wstring_view document_extension = L".vnl";
inline constexpr std::wstring_view document_class = L"Varnolis.Document";

// ".vnl" -> "Varnolis.Document", whose icon is the program's first and whose open command starts
// the program (its Windows path, quoted) with the document.
std::error_code register_file_association(std::wstring_view program_path);

// Removes the document class, and ".vnl" as long as it still names that class (another program
// may have taken the extension over since). What is already gone is no error.
std::error_code unregister_file_association();

} // namespace varnolis
