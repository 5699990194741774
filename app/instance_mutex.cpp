#include "app/instance_mutex.h"

namespace qv {
namespace os = platform::os;

std::wstring instance_mutex_name(std::wstring_view application_id) {
    return L"Global\\" + std::wstring(application_id) + L".{5ead623c-dfcd-474d-8e3c-e6978cac039e}";
}

named_mutex_guard::~named_mutex_guard() {
    release();
}

void named_mutex_guard::create(std::wstring_view name) {
    auto mutex = os::create_mutex(name, os::mutex_ownership::not_owned);
    if (mutex)
        handle_.emplace(std::move(mutex->handle));
}

bool named_mutex_guard::acquire() {
    if (!handle_)
        return false;
    const auto status = os::wait(*handle_, 0);
    owned_ =
        status && (*status == os::wait_status::object_0 || *status == os::wait_status::abandoned);
    return owned_;
}

void named_mutex_guard::release() {
    if (owned_ && handle_)
        os::release_mutex(*handle_);
    owned_ = false;
}

} // namespace qv
