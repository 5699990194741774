#include "product/uninstaller/product_keys.h"

#include "app/product_identity.h"
#include "engine/uninstall_entry.h"
#include "platform/os/error.h"
#include "platform/os/registry.h"

namespace uninstaller {
namespace os = platform::os;
namespace {

constexpr auto local_machine = os::predefined_key::local_machine;

std::error_code ignoring_not_found(const std::error_code& error) {
    return error == os::win32_error::file_not_found ? std::error_code{} : error;
}

std::wstring maker_key_path() {
    return L"Software\\" + std::wstring(qv::maker_folder_name);
}

} // namespace

std::wstring product_uninstall_key_path() {
    return std::wstring(qv::uninstall_key_path) + L"\\" + qv::product_key_name(qv::product_code);
}

std::error_code remove_uninstall_entry() {
    return ignoring_not_found(os::delete_tree(local_machine, product_uninstall_key_path()));
}

std::error_code remove_registered_program_path() {
    const auto maker = os::open_key(local_machine, maker_key_path(),
                                    os::key_access::read | os::key_access::set_value);
    if (!maker)
        return ignoring_not_found(maker.error());
    const std::wstring value_name = qv::product_key_name(qv::product_code) + L" Path";
    if (std::error_code error = ignoring_not_found(os::delete_value(*maker, value_name)))
        return error;

    // The installer created the key for this value; the product's own settings, which live
    // below it, went with its unregistration.
    const auto no_more_items = os::make_error_code(os::win32_error::no_more_items);
    for (const auto& first : {os::enum_key(*maker, 0), os::enum_value(*maker, 0)}) {
        if (first)
            return {};
        if (first.error() != no_more_items)
            return first.error();
    }
    return ignoring_not_found(os::delete_tree(local_machine, maker_key_path()));
}

} // namespace uninstaller
