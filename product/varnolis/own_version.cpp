#include "product/varnolis/own_version.h"

#include "platform/os/resources.h"

#include <cstdint>
#include <span>

namespace varnolis {
namespace os = platform::os;

const qv::file_version_info& own_version_info() {
    constexpr std::uint16_t version_resource_id = 1;
    static const qv::file_version_info info(
        os::find_resource(os::own_module(), os::resource_type::version, version_resource_id)
            .value_or(std::span<const std::byte>{}));
    return info;
}

} // namespace varnolis
