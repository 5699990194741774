#pragma once
// Windows-1252, the ANSI code page of this machine: the single-byte text that older Windows file
// formats carry beside or instead of UTF-16.

#include <optional>
#include <string>
#include <string_view>

namespace platform::os {

// The byte that stands for c in Windows-1252, if c has one.
std::optional<char> ansi_byte(wchar_t c);

// The text in Windows-1252, each character that has no byte there written as '?'.
std::string to_ansi(std::wstring_view text);

// Whether every character of text has a byte in Windows-1252.
bool is_ansi_representable(std::wstring_view text);

// The character a Windows-1252 byte stands for.
wchar_t from_ansi_byte(unsigned char byte);

std::wstring from_ansi(std::string_view bytes);

} // namespace platform::os
