#pragma once
// An X server of the test's own (Xvfb, without a window manager) on a display number it picks
// itself, so that tests running side by side never collide; DISPLAY points at it while it runs.
// The server accepts clients by the time the constructor returns, and never resets between them.

#include <string>
#include <sys/types.h>
#include <vector>

namespace qv_test {

class virtual_display {
public:
    virtual_display();
    ~virtual_display();
    virtual_display(const virtual_display&) = delete;
    virtual_display& operator=(const virtual_display&) = delete;

    // ":N"
    const std::string& name() const { return name_; }

private:
    pid_t server_ = -1;
    std::string name_;
};

// Runs a program of the host and returns what it wrote on its standard output; throws when it
// cannot start or exits with a failure.
std::string host_output(const std::vector<std::string>& arguments);

} // namespace qv_test
