#include "product/varnolis/termination_signals.h"

#include <pthread.h>

namespace varnolis {

termination_signals::termination_signals() {
    ::sigemptyset(&signals_);
    ::sigaddset(&signals_, SIGTERM);
    ::sigaddset(&signals_, SIGINT);
    ::pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
}

void termination_signals::wait() const {
    int received = 0;
    ::sigwait(&signals_, &received);
}

void termination_signals::unblock() const {
    ::pthread_sigmask(SIG_UNBLOCK, &signals_, nullptr);
}

} // namespace varnolis
