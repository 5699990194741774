#pragma once
// How the uninstaller talks to the user. With a display it shows message boxes; without one,
// on a terminal, it asks on the terminal; started with "/S", or with neither a display nor a
// terminal, it runs unattended: it asks nothing and goes ahead. Whatever the way, failures are
// also written to the standard error.

#include <string_view>

namespace uninstaller {

enum class interaction { window, console, unattended };

enum class run_request { normal, silent };

interaction choose_interaction(run_request request);

// Asks whether to go ahead; always yes when unattended.
bool confirmed(interaction how, std::wstring_view title, std::wstring_view question);

enum class message_kind { information, error };

// Information goes to the standard output when there is no window.
void tell(interaction how, std::wstring_view title, std::wstring_view text, message_kind kind);

} // namespace uninstaller
