#pragma once
// The texts of a message box's buttons, which are the system's own and speak the user's
// language, whatever the language of the program that shows the box.

#include <cstdint>
#include <string>

namespace platform::ui {

// The button that gives the answer (IDOK, IDCANCEL, ...), with its mnemonic marked by '&' as on
// Windows, in the language of the primary language id; English for languages without a table
// and for unknown answers (which show OK).
std::wstring message_box_button_text(int answer, std::uint16_t lang_id);

} // namespace platform::ui
