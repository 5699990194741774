#pragma once
// The uninstaller's message boxes, as GTK dialogs.

#include <string_view>

namespace uninstaller {

// Opens the display once: false when neither DISPLAY nor WAYLAND_DISPLAY is set or GTK cannot
// open it.
bool open_display();

// A question with Yes and No; true for Yes. Needs open_display() to have succeeded.
bool ask_yes_no(std::wstring_view title, std::wstring_view question);

enum class dialog_icon { information, error };

// A message with OK. Needs open_display() to have succeeded.
void show_message(std::wstring_view title, std::wstring_view text, dialog_icon icon);

} // namespace uninstaller
