#pragma once
// The system's text for an error code, as the installer's prompts show it.

#include <cstdint>
#include <string>

namespace qv {

// FormatMessageW from the system table for an HRESULT or a Win32 code, inserts ignored: in the
// given language, else (when that language has no messages) in language 0; without its trailing
// line breaks. A code without text shows the text of E_FAIL, and E_FAIL without text "Error".
std::wstring system_error_text(std::uint32_t code, std::uint16_t language = 0);

} // namespace qv
