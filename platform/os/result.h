#pragma once
// A value or the Windows error that prevented it.

#include "platform/os/error.h"

#include <optional>
#include <system_error>
#include <utility>

namespace platform::os {

template <class T> class result {
public:
    result(T value) : value_(std::move(value)) {}
    result(std::error_code error) : error_(error) {}
    result(win32_error error) : error_(make_error_code(error)) {}

    bool has_value() const { return value_.has_value(); }
    explicit operator bool() const { return has_value(); }

    // The error; a default (success) code when there is a value.
    const std::error_code& error() const { return error_; }

    T& value() & {
        check();
        return *value_;
    }
    const T& value() const& {
        check();
        return *value_;
    }
    T&& value() && {
        check();
        return std::move(*value_);
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

private:
    void check() const {
        if (!value_)
            throw std::system_error(error_);
    }

    std::optional<T> value_;
    std::error_code error_;
};

} // namespace platform::os
