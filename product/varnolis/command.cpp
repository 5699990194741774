#include "product/varnolis/command.h"

#include "platform/os/unicode.h"

#include <string_view>

namespace varnolis {
namespace os = platform::os;
namespace {

constexpr std::wstring_view update_prefix = L"/update=";

bool starts_with_without_case(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && os::iequals(text.substr(0, prefix.size()), prefix);
}

struct switches {
    bool register_ = false;
    bool unregister = false;
    bool background = false;
    std::optional<std::wstring> update_value;
};

// Sets a switch once; a repeated one is an error.
bool set_once(bool& flag) {
    if (flag)
        return false;
    flag = true;
    return true;
}

} // namespace

std::variant<command, command_error> parse_command(std::span<const std::wstring> arguments) {
    switches given;
    for (const std::wstring& argument : arguments) {
        bool accepted = false;
        if (os::iequals(argument, L"/Register"))
            accepted = set_once(given.register_);
        else if (os::iequals(argument, L"/Unregister"))
            accepted = set_once(given.unregister);
        else if (os::iequals(argument, L"/Background"))
            accepted = set_once(given.background);
        else if (starts_with_without_case(argument, update_prefix) && !given.update_value) {
            given.update_value = argument.substr(update_prefix.size());
            accepted = true;
        }
        if (!accepted)
            return command_error{L"unexpected argument \"" + argument + L"\""};
    }

    if (given.register_ && given.unregister)
        return command_error{L"/Register and /Unregister exclude each other"};
    if (given.register_)
        return command{action::register_product, std::move(given.update_value)};
    if (given.update_value)
        return command_error{L"/update= belongs to /Register"};
    if (given.unregister)
        return command{action::unregister_product, std::nullopt};
    if (given.background)
        return command_error{L"/Background belongs to /Register or /Unregister"};
    return command{action::run_until_closed, std::nullopt};
}

} // namespace varnolis
