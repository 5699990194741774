#pragma once
// What the program was started for, from its arguments (switches compared without case, as
// Windows programs do).

#include <optional>
#include <span>
#include <string>
#include <variant>

namespace varnolis {

enum class action {
    run_until_closed,   // no arguments
    register_product,   // "/Register [/Background] [/update=<16 hex digits>]"
    unregister_product, // "/Unregister [/Background]"
};

struct command {
    action what = action::run_until_closed;
    // The text after "/update=", as given; checked by the registration, which reports it.
    std::optional<std::wstring> update_value;
};

struct command_error {
    std::wstring message;
};

// The arguments after the program name. Switches may come in any order, each at most once;
// "/Background" (the registration runs show no window anyway) goes with either action.
std::variant<command, command_error> parse_command(std::span<const std::wstring> arguments);

} // namespace varnolis
