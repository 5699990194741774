#include "wizard/own_version.h"

#include "platform/os/resources.h"

namespace qv {

namespace os = platform::os;

std::unique_ptr<file_version_info> own_version_info() {
    const auto block = os::find_resource(os::own_module(), os::resource_type::version, 1);
    if (!block)
        return nullptr;
    return std::make_unique<file_version_info>(*block);
}

} // namespace qv
