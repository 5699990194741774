// The shell path functions that resolve "." and "..": canonicalizing, combining and relating
// paths.

#include "platform/os/shell_path.h"

#include "platform/os/full_path.h"
#include "platform/os/unicode.h"

#include <utility>
#include <vector>

namespace platform::os {
namespace {

constexpr std::uint32_t directory_attribute = 0x10;

// The part of path that ".." never climbs above, with its separator when it has one: "C:\",
// "\", "\\server\share\", or the drive of a drive-relative path ("C:"), or nothing.
std::size_t canonical_root_length(std::wstring_view path) {
    if (path.starts_with(L"\\\\")) {
        std::size_t end = 2;
        for (int component = 0; component < 2 && end < path.size(); ++component) {
            if (component == 1 && path[end] == L'\\')
                break;
            while (end < path.size() && path[end] != L'\\')
                ++end;
            if (end < path.size())
                ++end;
        }
        return end;
    }
    if (path.starts_with(L"\\"))
        return 1;
    if (path.size() >= 2 && path[1] == L':')
        return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
    return 0;
}

std::vector<std::wstring_view> split_components(std::wstring_view text) {
    std::vector<std::wstring_view> components;
    if (text.empty())
        return components;
    std::size_t start = 0;
    for (std::size_t separator; (separator = text.find(L'\\', start)) != text.npos;) {
        components.push_back(text.substr(start, separator - start));
        start = separator + 1;
    }
    components.push_back(text.substr(start));
    return components;
}

std::wstring canonical_form(std::wstring_view path) {
    if (path.empty())
        return L"\\";
    const std::size_t root_length = canonical_root_length(path);
    std::wstring out(path.substr(0, root_length));
    // Empty components (doubled or trailing separators) are kept as they are.
    std::vector<std::wstring_view> kept;
    bool climbed_past_start = false;
    for (std::wstring_view component : split_components(path.substr(root_length))) {
        if (component == L".")
            continue;
        if (component == L"..") {
            if (kept.empty())
                climbed_past_start = true;
            else
                kept.pop_back();
            continue;
        }
        kept.push_back(component);
    }
    // A relative path that climbs above its start loses the ".." but keeps the separator after
    // it, so "..\a" becomes the rooted "\a".
    if (climbed_past_start && (out.empty() || out.back() != L'\\'))
        out += L'\\';
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0)
            out += L'\\';
        out += kept[i];
    }
    return out;
}

std::size_t count_components(std::wstring_view text) {
    std::size_t count = 0;
    for (std::wstring_view component : split_components(text)) {
        if (!component.empty())
            ++count;
    }
    return count;
}

} // namespace

std::optional<std::wstring> path_canonicalize(std::wstring_view path) {
    // The result is never longer than path, so path fitting is the whole limit.
    if (path.size() >= max_path)
        return std::nullopt;
    return canonical_form(path);
}

std::optional<std::wstring> path_combine(std::wstring_view directory, std::wstring_view file) {
    if (directory.size() >= max_path || file.size() >= max_path)
        return std::nullopt;
    std::wstring joined;
    if (file.empty()) {
        joined = directory;
    } else if (directory.empty() || path_is_unc(file) ||
               (!path_is_relative(file) && file[0] != L'\\')) {
        joined = file;
    } else {
        joined = directory;
        if (file[0] == L'\\') {
            path_strip_to_root(joined);
            file.remove_prefix(1);
        }
        // The joined text must fit before "." and ".." are resolved.
        if (!path_add_backslash(joined) || joined.size() + file.size() >= max_path)
            return std::nullopt;
        joined += file;
    }
    return canonical_form(joined);
}

bool path_append(std::wstring& path, std::wstring_view more) {
    if (!path_is_unc(more)) {
        while (more.starts_with(L'\\'))
            more.remove_prefix(1);
    }
    auto combined = path_combine(path, more);
    if (!combined)
        return false;
    path = std::move(*combined);
    return true;
}

std::size_t path_common_prefix(std::wstring_view a, std::wstring_view b, std::wstring* prefix) {
    // Both UNC: the server must match before anything is common.
    const bool unc = a.starts_with(L"\\\\") && b.starts_with(L"\\\\");
    std::size_t common = 0;
    for (std::size_t i = 0;; ++i) {
        const bool a_ends = i == a.size();
        const bool b_ends = i == b.size();
        const bool a_separator = !a_ends && a[i] == L'\\';
        const bool b_separator = !b_ends && b[i] == L'\\';
        const bool after_separator = i > 0 && a[i - 1] == L'\\';
        if (a_separator && b_separator) {
            if (i == 0)
                common = unc ? 0 : 1;
            else if (i == 2 && a[1] == L':')
                common = 3;
            else if (!after_separator)
                common = i;
        } else if ((a_ends || a_separator) && (b_ends || b_separator) && i > 0 &&
                   !after_separator) {
            common = i;
        }
        if (a_ends || b_ends || to_upper(a[i]) != to_upper(b[i]))
            break;
    }
    if (prefix)
        *prefix = a.substr(0, common);
    return common;
}

std::optional<std::wstring> path_relative_path_to(std::wstring_view from,
                                                  std::uint32_t from_attributes,
                                                  std::wstring_view to,
                                                  std::uint32_t to_attributes) {
    if (from.size() >= max_path || to.size() >= max_path)
        return std::nullopt;
    std::wstring from_folder(from);
    if (!(from_attributes & directory_attribute))
        path_remove_file_spec(from_folder);
    // A file's own name is never a folder the two share: the file "C:\a\b" seen from the
    // folder "C:\a\b" is "..\b".
    std::wstring to_folder(to);
    if (!(to_attributes & directory_attribute))
        path_remove_file_spec(to_folder);
    const std::size_t common = path_common_prefix(from_folder, to_folder);
    if (common == 0)
        return std::nullopt;

    std::wstring relative;
    const std::size_t levels = count_components(std::wstring_view(from_folder).substr(common));
    for (std::size_t level = 0; level < levels; ++level)
        relative += level == 0 ? L".." : L"\\..";
    if (relative.empty())
        relative = L".";
    std::wstring_view rest = to.substr(common);
    if (rest.starts_with(L'\\'))
        rest.remove_prefix(1);
    if (!rest.empty()) {
        relative += L'\\';
        relative += rest;
    }
    if (relative.size() >= max_path)
        return std::nullopt;
    return relative;
}

} // namespace platform::os
