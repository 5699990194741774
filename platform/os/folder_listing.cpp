#include "platform/os/folder_listing.h"

#include "platform/os/dos_attributes.h"
#include "platform/os/file_attributes.h"
#include "platform/os/host_descriptor.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>

namespace platform::os {
using namespace files_detail;

namespace {

struct directory_closer {
    void operator()(DIR* directory) const { ::closedir(directory); }
};
using directory_stream = std::unique_ptr<DIR, directory_closer>;

bool less_without_case(const std::wstring& a, const std::wstring& b) {
    const std::wstring upper_a = to_upper(a);
    const std::wstring upper_b = to_upper(b);
    return upper_a != upper_b ? upper_a < upper_b : a < b;
}

// A folder the tree shows: a folder, or a link to one, without the hidden attribute.
bool is_shown_folder(const std::filesystem::path& entry) {
    struct stat status {};
    if (::stat(entry.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return false;
    const auto stored = stored_attributes(entry, symlinks::follow);
    return !stored || (*stored & file_attribute::hidden) == 0;
}

} // namespace

std::vector<std::wstring> logical_drive_roots() {
    std::vector<std::wstring> roots;
    const std::filesystem::path devices = machine_root() / "dosdevices";
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        struct stat status {};
        const std::filesystem::path drive = devices / (std::string(1, letter) + ":");
        if (::stat(drive.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            roots.push_back(std::wstring{static_cast<wchar_t>(letter - 'a' + 'A'), L':', L'\\'});
    }
    return roots;
}

result<std::vector<std::wstring>> list_subfolders(std::wstring_view folder) {
    auto host = resolve_host(folder);
    if (!host)
        return host.error();
    auto status = status_of(*host, symlinks::follow);
    if (!status)
        return status.error() == win32_error::file_not_found ? win32_error::path_not_found
                                                             : status.error();
    if (!S_ISDIR(status->st_mode))
        return win32_error::directory;
    directory_stream directory(::opendir(host->c_str()));
    if (!directory)
        return lookup_error(*host, errno);
    std::vector<std::wstring> names;
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == ".." || !is_shown_folder(*host / name))
            continue;
        names.push_back(from_utf8(name));
    }
    std::sort(names.begin(), names.end(), less_without_case);
    return names;
}

} // namespace platform::os
