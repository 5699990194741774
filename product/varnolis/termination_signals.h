#pragma once
// SIGTERM and SIGINT held back from their default action, which would end the program on the
// spot, so that they end it through its normal exit instead: that exit takes back its
// instance-counter registration, and the installer stops counting it at once.

#include <signal.h>

namespace varnolis {

class termination_signals {
public:
    // Blocks the two signals in the calling thread and the threads it starts later, until the
    // program ends: a second signal arriving while the program exits must not cut the exit short.
    termination_signals();
    termination_signals(const termination_signals&) = delete;
    termination_signals& operator=(const termination_signals&) = delete;

    // Waits until one of them arrives.
    void wait() const;

    // Delivers them again, once something else (the window's main loop) handles them.
    void unblock() const;

private:
    sigset_t signals_;
};

} // namespace varnolis
