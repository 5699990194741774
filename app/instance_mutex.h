#pragma once
// The single-installer mutex: one installer at a time on the machine.

#include "platform/os/kernel_objects.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// "Global\" + application id + the installer mutex's fixed suffix.
std::wstring instance_mutex_name(std::wstring_view application_id);

// A named mutex and whether this process owns it. Created not owned; released (when owned) and
// closed on destruction.
class named_mutex_guard {
public:
    named_mutex_guard() = default;
    ~named_mutex_guard();
    named_mutex_guard(const named_mutex_guard&) = delete;
    named_mutex_guard& operator=(const named_mutex_guard&) = delete;

    // CreateMutexW, not owned, open to every user of the machine. A failure leaves no handle,
    // so that acquiring fails later.
    void create(std::wstring_view name);

    // WaitForSingleObject with time-out 0: owned when the mutex was free or abandoned.
    bool acquire();

    // Gives the mutex up (only when owned) and clears owned.
    void release();

    bool owned() const { return owned_; }
    bool has_handle() const { return handle_.has_value(); }

private:
    std::optional<platform::os::kernel_object> handle_;
    bool owned_ = false;
};

} // namespace qv
