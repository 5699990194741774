#include "platform/os/resource_handle.h"

#include "platform/os/resource_module.h"

#include <mutex>

namespace platform::os {
namespace {

struct resource_handle {
    std::mutex mutex;
    std::shared_ptr<const resource_module> module;
};

resource_handle& handle() {
    static resource_handle instance;
    return instance;
}

} // namespace

void set_resource_module(std::shared_ptr<const resource_module> module) {
    auto& current = handle();
    std::lock_guard lock(current.mutex);
    current.module = std::move(module);
}

std::shared_ptr<const resource_module> current_resource_module() {
    auto& current = handle();
    std::lock_guard lock(current.mutex);
    if (current.module)
        return current.module;
    // The own module lives as long as the process: shared without an owner.
    return std::shared_ptr<const resource_module>(std::shared_ptr<void>(), &own_module());
}

} // namespace platform::os
