#pragma once
// Functions of a system library found at run time instead of linked: the library is loaded on
// first use and kept for the process, each function looked up once and kept. A library that
// cannot be loaded throws std::system_error with E_UNEXPECTED, a function it lacks E_NOTIMPL
// (hresult_error_code).

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace platform::os {

class runtime_library {
public:
    // The library of that file name (as dlopen takes it: "libacl.so.1"), loaded once per process.
    static runtime_library& get(std::string_view file_name);

    // The named function, typed by its signature: function<int(const char*)>("name").
    template <class Signature> Signature* function(std::string_view name) {
        static_assert(std::is_function_v<Signature>, "a function signature, not a pointer");
        return reinterpret_cast<Signature*>(address(name));
    }

    runtime_library(const runtime_library&) = delete;
    runtime_library& operator=(const runtime_library&) = delete;

private:
    runtime_library(std::string file_name, void* handle)
        : file_name_(std::move(file_name)), handle_(handle) {}
    void* address(std::string_view name);

    const std::string file_name_;
    void* const handle_;
    std::mutex mutex_;
    std::map<std::string, void*, std::less<>> functions_;
};

} // namespace platform::os
