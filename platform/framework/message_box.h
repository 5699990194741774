#pragma once
// AfxMessageBox: a message box captioned with the application's name, owned by the running modal
// dialog or else the main window, with the icon its buttons call for when the type has none.

#include "platform/ui/message_box_type.h"

#include <cstdint>
#include <string_view>

namespace platform::framework {

// The answer (IDOK, IDYES, ...); 0 when there is no application to show it in. The main window
// is disabled while the box is up and enabled again after.
int AfxMessageBox(std::wstring_view text, std::uint32_t type = platform::ui::mb::ok);
// The same with a string of the program's resources.
int AfxMessageBox(std::uint32_t prompt_id, std::uint32_t type = platform::ui::mb::ok);

} // namespace platform::framework
