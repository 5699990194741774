#include "platform/os/windows_path.h"

#include "platform/os/full_path.h"

#include <algorithm>

namespace platform::os {
namespace {

bool has_drive_prefix(std::wstring_view path) {
    return path.size() >= 2 && path[1] == L':' && is_drive_letter(path[0]);
}

// "C:", or exactly two separators and the server name after them ("\\server"; the device
// prefixes "\\?\" and "\\.\" give "\\?" and "\\." the same way).
std::size_t root_name_length(std::wstring_view path) {
    if (has_drive_prefix(path))
        return 2;
    if (path.size() < 3 || !is_separator(path[0]) || !is_separator(path[1]) ||
        is_separator(path[2]))
        return 0;
    std::size_t end = 3;
    while (end < path.size() && !is_separator(path[end]))
        ++end;
    return end;
}

std::size_t skip_separators(std::wstring_view path, std::size_t position) {
    while (position < path.size() && is_separator(path[position]))
        ++position;
    return position;
}

// Root name and root directory together.
std::size_t root_length(std::wstring_view path) {
    return skip_separators(path, root_name_length(path));
}

} // namespace

std::vector<std::wstring> path_elements(std::wstring_view path) {
    std::vector<std::wstring> elements;
    const std::size_t name_end = root_name_length(path);
    if (name_end > 0)
        elements.emplace_back(path.substr(0, name_end));
    std::size_t position = skip_separators(path, name_end);
    if (position > name_end)
        elements.emplace_back(path.substr(name_end, position - name_end));
    while (position < path.size()) {
        std::size_t end = position;
        while (end < path.size() && !is_separator(path[end]))
            ++end;
        elements.emplace_back(path.substr(position, end - position));
        position = skip_separators(path, end);
        if (position == path.size() && end < path.size())
            elements.emplace_back();
    }
    return elements;
}

std::wstring path_root_name(std::wstring_view path) {
    return std::wstring(path.substr(0, root_name_length(path)));
}

bool path_has_root_directory(std::wstring_view path) {
    return root_length(path) > root_name_length(path);
}

bool path_is_absolute(std::wstring_view path) {
    if (has_drive_prefix(path))
        return path.size() >= 3 && is_separator(path[2]);
    // Any other root name (a server or a device prefix) is absolute on its own.
    return root_name_length(path) > 0;
}

std::wstring path_join(std::wstring_view base, std::wstring_view more) {
    const std::wstring_view more_root_name = more.substr(0, root_name_length(more));
    const std::wstring_view base_root_name = base.substr(0, root_name_length(base));
    if (path_is_absolute(more) || (!more_root_name.empty() && more_root_name != base_root_name))
        return std::wstring(more);
    std::wstring joined;
    if (path_has_root_directory(more)) {
        joined = base_root_name;
    } else {
        joined = base;
        // "C:" joins without one (a drive-relative "C:x"); "\\server" needs one.
        if (!path_filename(base).empty() ||
            (!path_has_root_directory(base) && path_is_absolute(base)))
            joined += L'\\';
    }
    joined += more.substr(more_root_name.size());
    return joined;
}

std::wstring path_filename(std::wstring_view path) {
    const std::size_t root = root_length(path);
    std::size_t start = path.size();
    while (start > root && !is_separator(path[start - 1]))
        --start;
    return std::wstring(path.substr(start));
}

std::wstring path_parent(std::wstring_view path) {
    const std::size_t root = root_length(path);
    std::size_t end = path.size();
    while (end > root && !is_separator(path[end - 1]))
        --end;
    while (end > root && is_separator(path[end - 1]))
        --end;
    return std::wstring(path.substr(0, end));
}

std::wstring path_stem(std::wstring_view path) {
    std::wstring name = path_filename(path);
    name.resize(std::min(name.find(L':'), name.size()));
    if (name == L"." || name == L"..")
        return name;
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::wstring drop_last_component(std::wstring_view path) {
    // Unlike path_parent, "C:x" and "C:" have nothing left.
    if (path.find_first_of(L"\\/") == std::wstring_view::npos)
        return {};
    return path_parent(path);
}

std::wstring join_with_separator(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined(folder);
    if (!joined.empty() && !is_separator(joined.back()))
        joined += L'\\';
    joined += name;
    return joined;
}

} // namespace platform::os
