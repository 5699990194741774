#include "payload/payload_resource.h"

#include "payload/archive_layout.h"
#include "platform/os/resource_handle.h"
#include "platform/os/resource_module.h"
#include "platform/os/resources.h"

#include <cstddef>
#include <optional>
#include <span>

namespace qv {
namespace os = platform::os;
namespace {

std::optional<std::span<const std::byte>> payload_bytes(const os::resource_module& module) {
    auto bytes =
        os::find_resource(module, payload_layout::resource_type, payload_layout::resource_name);
    if (!bytes || bytes->empty())
        return std::nullopt;
    return bytes;
}

imemstream stream_over(std::optional<std::span<const std::byte>> bytes) {
    if (!bytes)
        return {};
    return {reinterpret_cast<const char*>(bytes->data()), bytes->size()};
}

} // namespace

imemstream load_payload_resource() {
    const auto module = os::current_resource_module();
    auto bytes = payload_bytes(*module);
    // A resource module of other resources (a language module) leaves the payload to the
    // executable.
    if (!bytes && module.get() != &os::own_module())
        bytes = payload_bytes(os::own_module());
    return stream_over(bytes);
}

imemstream open_payload_resource(const os::resource_module& module) {
    return stream_over(payload_bytes(module));
}

} // namespace qv
