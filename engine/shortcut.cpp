#include "engine/shortcut.h"

#include "app/localized_strings.h"
#include "app/message_format.h"
#include "app/product_identity.h"
#include "platform/os/com_library.h"
#include "platform/os/full_path.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_link.h"
#include "platform/os/shell_path.h"

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::uint32_t uninstall_product_message = 13;
constexpr std::wstring_view link_extension = L".lnk";

// A shell path buffer holds MAX_PATH characters with the NUL.
bool fits_path_buffer(std::wstring_view text) {
    return text.size() < os::max_path;
}

bool save_link(const std::wstring& target, const std::wstring& working_folder,
               const std::wstring& link_path) {
    const os::com_initialization com;
    if (os::failed(com.status()))
        return false;
    auto link = os::shell_link::create();
    if (!link)
        return false;
    // As with the shell's own link object, a path or folder it does not take leaves that part of
    // the link unset; the save decides.
    link->set_path(target);
    link->set_working_directory(working_folder);
    return !link->save(link_path);
}

} // namespace

std::optional<std::wstring> create_shortcut(std::wstring_view target, std::wstring_view folder,
                                            std::optional<std::wstring_view> link_name) {
    if (!fits_path_buffer(target))
        return std::nullopt;
    std::wstring working_folder(target);
    if (!os::path_remove_file_spec(working_folder))
        return std::nullopt;

    std::wstring name;
    if (link_name) {
        name = *link_name;
    } else {
        name = target.substr(os::path_find_file_name(target));
        os::path_remove_extension(name);
        if (name.empty())
            return std::nullopt;
    }

    std::wstring link_path(folder);
    if (!os::path_append(link_path, name))
        return std::nullopt;
    link_path += link_extension;

    if (!save_link(std::wstring(target), working_folder, link_path))
        return std::nullopt;
    return link_path;
}

std::wstring uninstall_link_name() {
    return format_message(localized_text(uninstall_product_message),
                          {product_name(product_name_form::plain)});
}

std::optional<std::wstring> desktop_link_folder() {
    std::wstring folder;
    if (os::get_special_folder_path(os::csidl::common_desktop_directory, folder) ||
        os::get_special_folder_path(os::csidl::desktop_directory, folder))
        return folder;
    return std::nullopt;
}

} // namespace qv
