#include "payload/payload_entry.h"

#include "platform/os/windows_path.h"

namespace qv {

std::wstring source_file_name(std::wstring_view source_path) {
    return platform::os::path_filename(source_path);
}

} // namespace qv
