#include "payload/shared_folder_grant.h"

#include "locations/same_path.h"
#include "platform/os/file_attributes.h"
#include "platform/os/windows_path.h"
#include "support/security.h"

#include <exception>
#include <string>

namespace qv {
namespace {

namespace os = platform::os;

bool is_real_folder(const std::wstring& path) {
    const auto attributes = os::get_file_attributes(path, os::symlinks::refuse);
    return attributes && (*attributes & os::file_attribute::directory) &&
           !(*attributes & os::file_attribute::reparse_point);
}

void grant_if_below(std::wstring_view folder, shared_folder& record) {
    std::wstring candidate(folder);
    while (is_real_folder(candidate)) {
        if (same_path(candidate, record.folder)) {
            record.granted = true;
            grant_users_access(candidate, file_rights::all_access,
                               ace_flags::object_inherit | ace_flags::container_inherit);
            return;
        }
        std::wstring parent = os::path_parent(candidate);
        if (parent.size() >= candidate.size())
            return;
        candidate = std::move(parent);
    }
}

} // namespace

void grant_shared_folders(std::wstring_view folder, shared_folder_list& shared) {
    for (auto& record : shared) {
        if (record.granted)
            continue;
        try {
            grant_if_below(folder, record);
        } catch (const std::exception&) {
            // Opening up a folder is a courtesy to other users; the installation goes on.
        }
    }
}

} // namespace qv
