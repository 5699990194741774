#include "platform/os/com_library.h"

namespace platform::os {
namespace {

// COM initialization belongs to a thread.
thread_local unsigned initializations = 0;

} // namespace

com_initialization::com_initialization()
    : status_(initializations == 0 ? hresults::s_ok : hresults::s_false) {
    ++initializations;
}

com_initialization::~com_initialization() {
    --initializations;
}

bool com_initialized_on_this_thread() {
    return initializations > 0;
}

} // namespace platform::os
