#pragma once
// The message-box service: message boxes for texts of the system's error table and of the
// program's string table, owned and captioned through the providers.

#include "platform/ui/desktop.h"
#include "wizard/window_handle.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace qv {

// A text, or the id of a string of the program's resources.
using message_text = std::variant<std::wstring, std::uint32_t>;

// A message box on the process's current UI session: the caption from the caption provider
// when none is given, the icon its buttons call for when the type has none, the owner from the
// owner provider or else the active window, reading right to left with a right-to-left owner.
// The button pressed (IDOK, IDYES, ...); 0 when the process has no UI session.
int show_message(const message_text& text, std::uint32_t type,
                 const std::optional<message_text>& caption = std::nullopt);

// show_message(system_error_text(code), MB_ICONEXCLAMATION)
void report_error(std::uint32_t code);

// The owner of a box whose caller has none, as Windows finds it: the active window's root
// owner, else the first top-level window with a caption; then its last active popup.
platform::ui::window* default_message_owner(platform::ui::desktop& session);

} // namespace qv
