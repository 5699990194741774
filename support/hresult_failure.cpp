#include "support/hresult_failure.h"

#include <system_error>

namespace qv {
namespace os = platform::os;

void throw_hresult(os::hresult hr, const std::string& what) {
    throw std::system_error(os::hresult_error_code(hr), what);
}

void throw_errno(int error_number, const std::string& what) {
    throw_hresult(os::hresult_from_win32(os::win32_from_errno(error_number)), what);
}

} // namespace qv
