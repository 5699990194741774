#pragma once
// The caption a message box gets when its caller gives none and the application has not
// replaced the caption provider.

#include <string>
#include <string_view>

namespace qv {

// The application name when it is set; else the display version text of the program's own
// version resource; else the program file's name without folder and extension.
std::wstring default_caption(std::wstring_view application_name);

} // namespace qv
