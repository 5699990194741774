#include "product/varnolis/messages.h"

#include "platform/os/error.h"
#include "platform/os/unicode.h"

#include <iostream>

namespace varnolis {
namespace os = platform::os;

void report(std::wstring_view message) {
    std::cerr << "Varnolis: " << os::to_utf8(message) << std::endl;
}

void report_failure(std::wstring_view what, const std::error_code& error) {
    const std::uint32_t id = os::message_id(error);
    std::cerr << "Varnolis: " << os::to_utf8(what) << ": " << os::to_utf8(os::error_text(id))
              << " (" << id << ")" << std::endl;
}

} // namespace varnolis
