#include "app/product_identity.h"

#include "app/registry_reader.h"
#include "platform/os/files.h"

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

std::wstring registered_program_path() {
    static const std::wstring path = read_registered_program_path();
    return path;
}

} // namespace qv
