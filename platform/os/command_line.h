#pragma once
// The split of a command line into arguments by Windows' rules (CommandLineToArgvW).

#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

// The program name comes first: up to the closing quote when it starts with '"', else up to the
// first character from U+0001 to U+0020, with no escapes either way. The arguments after it are
// separated by blanks (space, tab); quotes group and disappear, "" inside quotes is a literal
// quote that also ends the quoting, and backslashes are literal unless they precede a quote:
// 2n of them give n and the quote groups, 2n+1 give n and a literal quote. An empty line gives
// this program's own file name, as on Windows.
std::vector<std::wstring> split_command_line(std::wstring_view command_line);

} // namespace platform::os
