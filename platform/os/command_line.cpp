#include "platform/os/command_line.h"

#include "platform/os/processes.h"

#include <utility>

namespace platform::os {
namespace {

constexpr bool is_blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The program name and the position after it.
std::pair<std::wstring, std::size_t> program_name(std::wstring_view line) {
    if (line.front() == L'"') {
        const std::size_t close = line.find(L'"', 1);
        if (close == std::wstring_view::npos)
            return {std::wstring(line.substr(1)), line.size()};
        return {std::wstring(line.substr(1, close - 1)), close + 1};
    }
    std::size_t end = 0;
    while (end < line.size() && !(line[end] >= L'\x01' && line[end] <= L' '))
        ++end;
    // The character that ended the name separates it from what follows.
    return {std::wstring(line.substr(0, end)), end < line.size() ? end + 1 : end};
}

// One argument starting at a character that is not blank; at moves past it.
std::wstring argument_at(std::wstring_view line, std::size_t& at) {
    std::wstring argument;
    bool quoted = false;
    while (at < line.size()) {
        const wchar_t c = line[at];
        if (!quoted && is_blank(c))
            break;
        if (c == L'\\') {
            std::size_t run = 0;
            while (at < line.size() && line[at] == L'\\') {
                ++run;
                ++at;
            }
            if (at == line.size() || line[at] != L'"') {
                argument.append(run, L'\\');
                continue;
            }
            argument.append(run / 2, L'\\');
            if (run % 2 == 1) {
                argument += L'"';
                ++at;
            }
            continue;
        }
        if (c == L'"') {
            ++at;
            if (quoted && at < line.size() && line[at] == L'"') {
                argument += L'"';
                ++at;
                quoted = false;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        argument += c;
        ++at;
    }
    return argument;
}

} // namespace

std::vector<std::wstring> split_command_line(std::wstring_view line) {
    if (line.empty()) {
        auto self = module_file_name();
        return self ? std::vector<std::wstring>{*self} : std::vector<std::wstring>{};
    }
    auto [program, at] = program_name(line);
    std::vector<std::wstring> arguments{std::move(program)};
    for (;;) {
        while (at < line.size() && is_blank(line[at]))
            ++at;
        if (at == line.size())
            break;
        arguments.push_back(argument_at(line, at));
    }
    return arguments;
}

} // namespace platform::os
