#include "app/language_resources.h"

#include "app/language_state.h"

namespace qv {
namespace {
namespace os = platform::os;

// The language service's resource module, resolved to the program's own when there is none.
const os::resource_module& resource_module() {
    auto& module = language_state::instance().resource_module;
    if (!module)
        module = std::shared_ptr<const os::resource_module>(
            std::shared_ptr<const os::resource_module>(), &os::own_module());
    return *module;
}

} // namespace

std::span<const std::byte> load_resource(const os::resource_id& type, const os::resource_id& name) {
    const os::resource_module& module = resource_module();
    auto found = os::find_resource(module, type, name);
    if (!found && &module != &os::own_module())
        found = os::find_resource(os::own_module(), type, name);
    return found ? *found : std::span<const std::byte>();
}

std::wstring load_resource_string(std::uint32_t id) {
    const os::resource_module& module = resource_module();
    const os::resource_id block = static_cast<std::uint16_t>((id & 0xFFFF) / 16 + 1);
    const bool has_block = os::find_resource(module, os::resource_type::string, block).has_value();
    return os::load_string(has_block ? module : os::own_module(), id);
}

} // namespace qv
