#include "wizard/default_caption.h"

#include "app/file_version_info.h"
#include "platform/os/processes.h"
#include "platform/os/resources.h"
#include "platform/os/shell_path.h"

namespace qv {

namespace os = platform::os;

namespace {

std::wstring own_version_text() {
    const auto block = os::find_resource(os::own_module(), os::resource_type::version, 1);
    if (!block)
        return {};
    return file_version_info(*block).display_version_text();
}

std::wstring own_file_title() {
    auto path = os::module_file_name();
    if (!path)
        return {};
    std::wstring name = path->substr(os::path_find_file_name(*path));
    os::path_remove_extension(name);
    return name;
}

} // namespace

std::wstring default_caption(std::wstring_view application_name) {
    if (!application_name.empty())
        return std::wstring(application_name);
    if (std::wstring version_text = own_version_text(); !version_text.empty())
        return version_text;
    return own_file_title();
}

} // namespace qv
