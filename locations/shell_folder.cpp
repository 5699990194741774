#include "locations/shell_folder.h"

#include "payload/compress_error.h"
#include "platform/os/shell_folders.h"

#include <string>
#include <system_error>

namespace qv {
namespace {

// Only the folder counts, not the status: an empty answer is the failure.
std::wstring query_folder(int csidl) {
    std::wstring folder;
    platform::os::get_folder_path(csidl, folder);
    return folder;
}

} // namespace

std::wstring get_shell_folder(int csidl, int fallback_csidl, shell_fallback fallback) {
    std::wstring folder = query_folder(csidl);
    if (folder.empty() && fallback == shell_fallback::allowed)
        folder = query_folder(fallback_csidl);
    if (folder.empty())
        throw std::system_error(make_error_code(compress_error::unexpected),
                                "shell folder " + std::to_string(csidl) + " is unavailable");
    return folder;
}

} // namespace qv
