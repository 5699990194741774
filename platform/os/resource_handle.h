#pragma once
// The module the program's own resources are taken from (AfxSetResourceHandle): the program
// itself until another module is set, process-wide like the class library's resource handle.

#include "platform/os/resources.h"

#include <memory>

namespace platform::os {

// Takes resources from module from now on; null goes back to the program's own module. The
// bytes found in the earlier module stay valid as long as that module is kept elsewhere.
void set_resource_module(std::shared_ptr<const resource_module> module);

// The module set last, or the program's own module.
std::shared_ptr<const resource_module> current_resource_module();

} // namespace platform::os
