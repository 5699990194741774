#pragma once
// FormatMessageW over a message text with inserts: "%1" to "%99" take the arguments in order,
// "%%" is a percent sign, "%n" a line break ("\r\n"), "%0" ends the text; an insert without its
// argument stays as written.

#include <initializer_list>
#include <string>
#include <string_view>

namespace qv {

std::wstring format_message(std::wstring_view format,
                            std::initializer_list<std::wstring_view> arguments);

} // namespace qv
