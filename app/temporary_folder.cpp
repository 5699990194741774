#include "app/temporary_folder.h"

#include "platform/os/shell_path.h"
#include "platform/os/temporary_files.h"

#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/uuid_io.hpp>
#include <cstdio>

namespace qv {
namespace os = platform::os;
namespace {

// Leaves room below MAX_PATH for the folder's name and the files in it.
constexpr std::size_t longest_temporary_path = 246;

std::wstring get_temp_path_error(std::uint32_t code) {
    char text[32];
    std::snprintf(text, sizeof text, "%08x (GetTempPath)", code);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

} // namespace

bool make_temporary_folder(install_session& session, std::wstring& error_text) {
    const auto folder = os::temporary_folder();
    if (!folder) {
        error_text = get_temp_path_error(static_cast<std::uint32_t>(folder.error().value()));
        return false;
    }
    if (folder->size() > longest_temporary_path) {
        // GetTempPathW succeeded, so the thread's last error is still clear.
        error_text = get_temp_path_error(0);
        return false;
    }
    // random_generator draws from the system's cryptographic source and yields version 4.
    const std::string uuid = boost::uuids::to_string(boost::uuids::random_generator()());
    std::wstring path = *folder;
    if (!os::path_append(path, L"qvarn_{" + std::wstring(uuid.begin(), uuid.end()) + L"}")) {
        error_text =
            get_temp_path_error(static_cast<std::uint32_t>(os::win32_error::filename_exced_range));
        return false;
    }
    session.temporary_folder = std::move(path);
    return true;
}

} // namespace qv
