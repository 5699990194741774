#include "platform/os/shell_notify.h"

namespace platform::os {

void shell_change_notify(shell_change_event, shell_change_flags) {}

} // namespace platform::os
