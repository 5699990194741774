#include "platform/os/runtime_library.h"

#include "platform/os/error.h"

#include <dlfcn.h>
#include <memory>
#include <system_error>

namespace platform::os {
namespace {

std::string last_loader_error() {
    const char* text = ::dlerror();
    return text ? text : "unknown reason";
}

} // namespace

runtime_library& runtime_library::get(std::string_view file_name) {
    // Loaded libraries stay for the life of the process, as their functions are kept.
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<runtime_library>, std::less<>> libraries;
    std::lock_guard lock(mutex);
    if (auto found = libraries.find(file_name); found != libraries.end())
        return *found->second;
    std::string name(file_name);
    void* handle = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::system_error(hresult_error_code(hresults::e_unexpected),
                                "cannot load " + name + ": " + last_loader_error());
    std::unique_ptr<runtime_library> library(new runtime_library(name, handle));
    return *libraries.emplace(std::move(name), std::move(library)).first->second;
}

void* runtime_library::address(std::string_view name) {
    std::lock_guard lock(mutex_);
    if (auto found = functions_.find(name); found != functions_.end())
        return found->second;
    std::string symbol(name);
    ::dlerror();
    void* found = ::dlsym(handle_, symbol.c_str());
    if (!found)
        throw std::system_error(hresult_error_code(hresults::e_notimpl),
                                file_name_ + " has no function " + symbol);
    return functions_.emplace(std::move(symbol), found).first->second;
}

} // namespace platform::os
