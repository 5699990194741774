#include "app/product_identity.h"

#include "app/file_version_info.h"
#include "app/registry_reader.h"
#include "platform/os/files.h"
#include "platform/os/processes.h"
#include "platform/os/resources.h"
#include "platform/os/windows_path.h"

#include <stdexcept>

namespace qv {
namespace os = platform::os;
namespace {

struct product_table_entry {
    std::uint32_t code;
    const wchar_t* key_name;
};

// The maker's product table as far as this installer carries it: its own product.
constexpr product_table_entry product_table[] = {
    {258, L"Varnolis 2"},
};

std::wstring read_registered_program_path() {
    const auto key = open_key(os::predefined_key::local_machine,
                              L"Software\\" + std::wstring(maker_folder_name));
    if (!key)
        return {};
    std::wstring path;
    if (!read_string(*key, product_key_name(product_code) + L" Path", path))
        return {};
    return !path.empty() && os::path_exists(path) ? path : std::wstring{};
}

std::wstring read_application_id() {
    constexpr std::uint16_t version_resource_id = 1;
    if (const auto block =
            os::find_resource(os::own_module(), os::resource_type::version, version_resource_id)) {
        std::wstring id = file_version_info(*block).string_value(L"ApplicationId");
        if (!id.empty())
            return id;
    }
    const auto program = os::module_file_name();
    return program ? os::path_stem(*program) : std::wstring{};
}

// The log beside the file or folder a path names; none when that leaves no folder, so that a
// path without folder never makes the reader look into the current directory.
std::optional<std::wstring> log_beside(std::wstring_view path) {
    const std::wstring folder = os::drop_last_component(path);
    if (folder.empty())
        return std::nullopt;
    return os::join_with_separator(folder, uninstall_log_file_name);
}

std::optional<std::wstring> uninstall_string() {
    const auto key = open_key(os::predefined_key::local_machine,
                              L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                                  product_key_name(product_code));
    std::wstring command;
    if (!key || !read_string(*key, L"UninstallString", command))
        return std::nullopt;
    return command;
}

} // namespace

std::wstring product_name(product_name_form form) {
    std::wstring name(product_base_name);
    if (form == product_name_form::with_version) {
        name += L' ';
        name += display_version;
    }
    return name;
}

std::wstring product_key_name(std::uint32_t code) {
    for (const auto& entry : product_table) {
        if (entry.code == code)
            return entry.key_name;
    }
    throw std::logic_error("no product with code " + std::to_string(code));
}

std::wstring application_id() {
    static const std::wstring id = read_application_id();
    return id;
}

std::wstring find_uninstall_log() {
    std::optional<std::wstring> candidates[3];
    // The uninstall command is taken as a path as it stands: no quotes removed, no arguments cut.
    if (const auto command = uninstall_string())
        candidates[0] = log_beside(*command);
    if (const auto program = os::module_file_name())
        candidates[1] = log_beside(*program);
    candidates[2] = log_beside(registered_program_path());
    for (const auto& candidate : candidates) {
        if (candidate && os::path_exists(*candidate))
            return *candidate;
    }
    return {};
}

std::wstring registered_program_path() {
    static const std::wstring path = read_registered_program_path();
    return path;
}

} // namespace qv
