#include "platform/os/full_path.h"

#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform::os {
namespace {

// "C:\" or "\\server\share\" of an absolute path, with its length in the input.
struct split_root {
    std::wstring root;
    std::wstring_view rest;
};

split_root split_absolute(std::wstring_view path) {
    switch (classify_path(path)) {
    case path_kind::drive_absolute:
        return {std::wstring(path.substr(0, 2)) + L'\\', path.substr(3)};
    case path_kind::unc:
    case path_kind::local_device: {
        // Two components after the leading separators make the root: server and share.
        std::size_t position = 2;
        for (int component = 0; component < 2 && position < path.size(); ++component) {
            while (position < path.size() && !is_separator(path[position]))
                ++position;
            if (component == 0 && position < path.size())
                ++position;
        }
        std::wstring root(path.substr(0, position));
        for (wchar_t& c : root) {
            if (c == L'/')
                c = L'\\';
        }
        root += L'\\';
        return {root, position < path.size() ? path.substr(position + 1) : std::wstring_view{}};
    }
    default:
        return {L"", path};
    }
}

// Joins root and the components of rest with "." and ".." resolved and trailing dots and blanks
// trimmed as Windows does.
std::wstring normalize(const std::wstring& root, std::wstring_view rest) {
    std::vector<std::wstring> components;
    std::size_t position = 0;
    while (position < rest.size()) {
        while (position < rest.size() && is_separator(rest[position]))
            ++position;
        std::size_t end = position;
        while (end < rest.size() && !is_separator(rest[end]))
            ++end;
        if (end > position)
            components.emplace_back(rest.substr(position, end - position));
        position = end;
    }
    const bool trailing_separator =
        !rest.empty() && is_separator(rest.back()) && !components.empty();

    std::vector<std::wstring> kept;
    for (std::size_t i = 0; i < components.size(); ++i) {
        std::wstring component = components[i];
        if (component == L".")
            continue;
        if (component == L"..") {
            if (!kept.empty())
                kept.pop_back();
            continue;
        }
        const bool last = i + 1 == components.size();
        if (last && !trailing_separator) {
            while (!component.empty() && (component.back() == L'.' || component.back() == L' '))
                component.pop_back();
        } else if (component.size() >= 2 && component.back() == L'.' &&
                   component[component.size() - 2] != L'.') {
            component.pop_back();
        }
        if (!component.empty())
            kept.push_back(std::move(component));
    }

    std::wstring out = root;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            out += L'\\';
        out += kept[i];
    }
    if (trailing_separator && !kept.empty())
        out += L'\\';
    return out;
}

std::mutex& current_directory_mutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::wstring>& current_directory_value() {
    static std::optional<std::wstring> value;
    return value;
}

std::wstring initial_current_directory() {
    std::error_code ignored;
    const auto host = std::filesystem::current_path(ignored);
    if (!ignored) {
        if (auto windows = windows_path_of_host(host))
            return *windows;
    }
    return L"C:\\";
}

} // namespace

path_kind classify_path(std::wstring_view path) {
    if (path.size() >= 2 && is_separator(path[0]) && is_separator(path[1])) {
        if (path.size() >= 4 && path[2] == L'?' && is_separator(path[3]))
            return path_kind::verbatim;
        if (path.size() >= 4 && path[2] == L'.' && is_separator(path[3]))
            return path_kind::local_device;
        return path_kind::unc;
    }
    if (path.size() >= 2 && is_drive_letter(path[0]) && path[1] == L':')
        return path.size() >= 3 && is_separator(path[2]) ? path_kind::drive_absolute
                                                         : path_kind::drive_relative;
    if (!path.empty() && is_separator(path[0]))
        return path_kind::rooted;
    return path_kind::relative;
}

std::wstring full_path_name(std::wstring_view path, std::wstring_view current) {
    switch (classify_path(path)) {
    case path_kind::verbatim:
        return std::wstring(path);
    case path_kind::drive_absolute:
    case path_kind::unc:
    case path_kind::local_device: {
        auto [root, rest] = split_absolute(path);
        return normalize(root, rest);
    }
    case path_kind::drive_relative: {
        std::wstring base;
        if (classify_path(current) == path_kind::drive_absolute &&
            iequals(current.substr(0, 1), path.substr(0, 1)))
            base = std::wstring(current);
        else
            base = std::wstring(path.substr(0, 2)) + L'\\';
        if (path.size() > 2) {
            if (!is_separator(base.back()))
                base += L'\\';
            base += path.substr(2);
        }
        auto [root, rest] = split_absolute(base);
        return normalize(root, rest);
    }
    case path_kind::rooted: {
        auto [root, ignored] = split_absolute(current);
        return normalize(root, path);
    }
    case path_kind::relative:
        break;
    }
    std::wstring combined = std::wstring(current) + L'\\' + std::wstring(path);
    auto [root, rest] = split_absolute(combined);
    return normalize(root, rest);
}

std::wstring current_directory() {
    std::lock_guard lock(current_directory_mutex());
    auto& value = current_directory_value();
    if (!value)
        value = initial_current_directory();
    return *value;
}

std::error_code set_current_directory(std::wstring_view path) {
    std::wstring full = full_path_name(path);
    auto host = host_path(full);
    if (!host)
        return host.error();
    struct stat status {};
    if (::stat(host->c_str(), &status) != 0)
        return last_errno_error();
    if (!S_ISDIR(status.st_mode))
        return win32_error::directory;
    if (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    std::lock_guard lock(current_directory_mutex());
    current_directory_value() = std::move(full);
    return {};
}

std::wstring full_path_name(std::wstring_view path) {
    return full_path_name(path, current_directory());
}

} // namespace platform::os
