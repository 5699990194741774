#include "platform/os/shell_path.h"

#include "platform/os/full_path.h"
#include "platform/os/unicode.h"

namespace platform::os {

bool path_is_unc(std::wstring_view path) {
    if (!path.starts_with(L"\\\\"))
        return false;
    // Behind the verbatim prefix only "UNC\" names a network path.
    if (path.starts_with(L"\\\\?\\"))
        return path.size() >= 8 && iequals(path.substr(4, 4), L"UNC\\");
    return true;
}

bool path_is_relative(std::wstring_view path) {
    if (path.empty())
        return true;
    // Rooted ("\x") and drive-relative ("C:x") paths both count as not relative.
    if (path[0] == L'\\')
        return false;
    return !(path.size() >= 2 && path[1] == L':');
}

bool path_is_root(std::wstring_view path) {
    if (path == L"\\")
        return true;
    if (path.size() == 3 && path[1] == L':' && path[2] == L'\\')
        return true;
    if (!path.starts_with(L"\\\\"))
        return false;
    const std::wstring_view server_and_share = path.substr(2);
    const std::size_t separator = server_and_share.find(L'\\');
    if (separator == std::wstring_view::npos)
        return !server_and_share.empty();
    const std::wstring_view share = server_and_share.substr(separator + 1);
    return separator > 0 && !share.empty() && share.find(L'\\') == std::wstring_view::npos;
}

bool path_remove_file_spec(std::wstring& path) {
    // Where the file spec starts: after the leading separators of a rooted or UNC path, after a
    // drive and its root separator, else at the last separator, which goes with it.
    std::size_t position = 0;
    std::size_t cut = 0;
    while (position < 2 && position < path.size() && path[position] == L'\\')
        cut = ++position;
    for (; position < path.size(); ++position) {
        if (path[position] == L'\\') {
            cut = position;
        } else if (path[position] == L':') {
            cut = position + 1;
            if (cut < path.size() && path[cut] == L'\\') {
                ++cut;
                ++position;
            }
        }
    }
    if (cut >= path.size())
        return false;
    path.resize(cut);
    return true;
}

bool path_strip_to_root(std::wstring& path) {
    while (!path_is_root(path)) {
        if (!path_remove_file_spec(path))
            return false;
    }
    return true;
}

std::size_t path_find_file_name(std::wstring_view path) {
    // Unlike the others this one also ends a name at '/' and ':', but a separator that ends the
    // path does not start an (empty) name: "C:\a\" gives "a\".
    std::size_t name = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const bool stops = path[i] == L'\\' || path[i] == L'/' || path[i] == L':';
        if (stops && path[i + 1] != L'\\' && path[i + 1] != L'/')
            name = i + 1;
    }
    return name;
}

std::size_t path_find_extension(std::wstring_view path) {
    // An extension cannot contain a blank: a blank after the last '.' means there is none.
    std::size_t dot = path.size();
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == L'\\' || path[i] == L' ')
            dot = path.size();
        else if (path[i] == L'.')
            dot = i;
    }
    return dot;
}

void path_remove_extension(std::wstring& path) {
    path.resize(path_find_extension(path));
}

bool path_add_backslash(std::wstring& path) {
    if (path.size() >= max_path)
        return false;
    // An empty path stays empty: there is no folder to end.
    if (path.empty() || path.back() == L'\\')
        return true;
    if (path.size() + 1 >= max_path)
        return false;
    path += L'\\';
    return true;
}

void path_remove_backslash(std::wstring& path) {
    if (!path.empty() && path.back() == L'\\' && !path_is_root(path))
        path.pop_back();
}

bool path_quote_spaces(std::wstring& path) {
    if (path.find(L' ') == std::wstring::npos || path.size() + 2 >= max_path)
        return false;
    path.insert(path.begin(), L'"');
    path += L'"';
    return true;
}

void path_unquote_spaces(std::wstring& path) {
    if (path.empty() || path.front() != L'"' || path.back() != L'"')
        return;
    // A lone quote both opens and closes.
    path = path.size() < 2 ? std::wstring() : path.substr(1, path.size() - 2);
}

void path_remove_blanks(std::wstring& path) {
    const std::size_t first = path.find_first_not_of(L' ');
    if (first == std::wstring::npos) {
        path.clear();
        return;
    }
    path = path.substr(first, path.find_last_not_of(L' ') - first + 1);
}

std::uint32_t path_get_char_type(wchar_t c) {
    if (c < 0x20 || c == L'"' || c == L'<' || c == L'>' || c == L'|')
        return gct::invalid;
    if (c == L'*' || c == L'?')
        return gct::wild;
    if (c == L'\\' || c == L'/' || c == L':')
        return gct::separator;
    // 8.3 names take the other printable characters and, as the OEM range, those above 127.
    if (std::wstring_view(L" ;,+=[]").find(c) != std::wstring_view::npos)
        return gct::lfn_char;
    return gct::lfn_char | gct::short_char;
}

} // namespace platform::os
