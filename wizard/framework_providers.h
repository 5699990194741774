#pragma once
// The message-box service's providers as the application framework installs them before the
// application object is made.

namespace qv {

// Caption: the application's name, else the program's version text, else its file name. Icon:
// none. Owner: the main window's last active popup, the main window disabled for the box's
// life when it is another window. The framework keeps no modeless windows, so the modal
// notifier is left unset: there is nothing for it to disable.
void install_framework_providers();

} // namespace qv
