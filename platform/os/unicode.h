#pragma once
// Conversions between the program's wide strings and the encodings of the host (UTF-8 names) and
// of Windows' files (UTF-16LE), and the case folding that Windows names compare under.

#include <string>
#include <string_view>

namespace platform::os {

std::string to_utf8(std::wstring_view text);
// Malformed bytes become U+FFFD.
std::wstring from_utf8(std::string_view bytes);

// UTF-16LE code units, characters beyond the BMP as surrogate pairs.
std::string to_utf16le(std::wstring_view text);
// An odd trailing byte is dropped; unpaired surrogates are kept as they are.
std::wstring from_utf16le(std::string_view bytes);

// Upper case as Windows compares names without case.
wchar_t to_upper(wchar_t c);
std::wstring to_upper(std::wstring_view text);
bool iequals(std::wstring_view a, std::wstring_view b);

} // namespace platform::os
