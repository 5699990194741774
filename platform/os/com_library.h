#pragma once
// The COM library's initialization of a thread (CoInitialize, CoUninitialize). The shell objects
// of this machine are created only on threads that hold one, as Windows' are.

#include "platform/os/error.h"

namespace platform::os {

// CoInitialize for its lifetime, CoUninitialize at its end. Initializations nest: each thread
// counts its own.
class com_initialization {
public:
    com_initialization();
    ~com_initialization();
    com_initialization(const com_initialization&) = delete;
    com_initialization& operator=(const com_initialization&) = delete;

    // S_OK when it initialized the thread, S_FALSE when the thread already was.
    hresult status() const { return status_; }

private:
    hresult status_;
};

// Whether the calling thread holds a COM initialization.
bool com_initialized_on_this_thread();

} // namespace platform::os
