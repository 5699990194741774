#include "wizard/subfolder_proposal.h"

#include "wizard/name_characters.h"

#include "platform/os/full_path.h"
#include "platform/os/shell_path.h"
#include "platform/os/unicode.h"

#include <span>
#include <vector>

namespace qv {

namespace os = platform::os;

namespace {

using components = std::vector<std::wstring_view>;

components split_components(std::wstring_view text) {
    components parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = text.size();
        if (end > start)
            parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// The components of path after its drive ("D:") or share ("\\server\share").
components components_below_root(std::wstring_view path) {
    components parts = split_components(path);
    const std::size_t root_parts =
        std::min<std::size_t>(path.starts_with(L"\\\\") ? 2 : 1, parts.size());
    parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(root_parts));
    return parts;
}

bool ends_with(const components& path, std::span<const std::wstring_view> tail) {
    if (tail.empty() || tail.size() > path.size())
        return false;
    const std::size_t offset = path.size() - tail.size();
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (!os::iequals(path[offset + i], tail[i]))
            return false;
    }
    return true;
}

// How many leading components of subfolder the path already ends with.
std::size_t overlap(const components& path, const components& subfolder) {
    for (std::size_t kept = subfolder.size() - 1; kept > 0; --kept) {
        if (ends_with(path, std::span(subfolder).first(kept)))
            return kept;
    }
    return 0;
}

} // namespace

std::wstring accepted_subfolder(std::wstring_view name) {
    if (!only_name_characters(name))
        return {};
    std::wstring accepted(name);
    while (!accepted.empty() && accepted.back() == L'.')
        accepted.pop_back();
    return accepted;
}

void append_subfolder(std::wstring& path, std::wstring_view subfolder) {
    const components wanted = split_components(subfolder);
    if (wanted.empty() || path.size() >= os::max_path)
        return;
    const components existing = components_below_root(path);
    if (subfolder.size() < os::max_path && ends_with(existing, wanted))
        return;
    std::wstring rest;
    for (std::size_t i = overlap(existing, wanted); i < wanted.size(); ++i) {
        if (!rest.empty())
            rest += L'\\';
        rest += wanted[i];
    }
    os::path_append(path, rest);
}

} // namespace qv
