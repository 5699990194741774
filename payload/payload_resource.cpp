#include "payload/payload_resource.h"

#include "payload/archive_layout.h"
#include "platform/os/resources.h"

namespace qv {

imemstream load_payload_resource() {
    return open_payload_resource(platform::os::own_module());
}

imemstream open_payload_resource(const platform::os::resource_module& module) {
    const auto bytes = platform::os::find_resource(module, payload_layout::resource_type,
                                                   payload_layout::resource_name);
    if (!bytes || bytes->empty())
        return {};
    return {reinterpret_cast<const char*>(bytes->data()), bytes->size()};
}

} // namespace qv
