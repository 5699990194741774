#include "locations/same_path.h"

#include "platform/os/files.h"
#include "platform/os/full_path.h"
#include "platform/os/unicode.h"
#include "platform/os/windows_path.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qv {
namespace os = platform::os;
namespace {

// The path's root name, whether it has a root directory, and its names: what two paths must
// share to be equal as paths, however their separators are spelled or repeated.
struct path_parts {
    std::wstring root_name;
    bool rooted = false;
    std::vector<std::wstring> names;
    friend bool operator==(const path_parts&, const path_parts&) = default;
};

path_parts parts_of(std::wstring_view path) {
    path_parts parts{os::path_root_name(path), os::path_has_root_directory(path), {}};
    parts.names = os::path_elements(path);
    const std::size_t root_elements = (parts.root_name.empty() ? 0 : 1) + (parts.rooted ? 1 : 0);
    parts.names.erase(parts.names.begin(), parts.names.begin() + root_elements);
    return parts;
}

// An empty path has no absolute form: it stays empty rather than becoming the current folder.
std::vector<std::wstring> absolute_elements(std::wstring_view path) {
    return path.empty() ? std::vector<std::wstring>{} : os::path_elements(os::full_path_name(path));
}

bool same_elements_ignoring_case(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(
        absolute_elements(a), absolute_elements(b),
        [](const std::wstring& x, const std::wstring& y) { return os::iequals(x, y); });
}

} // namespace

bool same_path(std::wstring_view a, std::wstring_view b) {
    if (parts_of(a) == parts_of(b))
        return true;
    auto identity_a = os::get_file_identity(a);
    auto identity_b = os::get_file_identity(b);
    if (identity_a && identity_b)
        return *identity_a == *identity_b;
    return same_elements_ignoring_case(a, b);
}

} // namespace qv
