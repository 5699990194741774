#include "engine/registered_program.h"

#include "app/product_identity.h"
#include "platform/os/registry.h"

#include <string>

namespace qv {
namespace os = platform::os;

std::error_code register_program_path(std::wstring_view program_path) {
    const auto key = os::create_key(os::predefined_key::local_machine,
                                    L"Software\\" + std::wstring(maker_folder_name),
                                    os::key_access::maximum_allowed);
    if (!key)
        return key.error();
    return os::set_string_value(key->key, product_key_name(product_code) + L" Path", program_path);
}

} // namespace qv
