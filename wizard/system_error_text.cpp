#include "wizard/system_error_text.h"

#include "platform/os/error.h"

namespace qv {

std::wstring system_error_text(std::uint32_t code, std::uint16_t language) {
    return platform::os::error_text(code, language);
}

} // namespace qv
