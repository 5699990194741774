#include "engine/uninstall_entry.h"

#include "app/product_identity.h"

#include <string>

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::wstring_view maker_web_address = L"https://www.example.com/varnolis";
constexpr std::wstring_view maker_support_telephone = L"+1 555 0100";
constexpr std::wstring_view publisher = L"Quorvane";

} // namespace

std::error_code write_uninstall_entry(std::wstring_view program_path,
                                      std::wstring_view uninstaller_path, language_index language,
                                      const uninstall_key_opened& on_opened) {
    const auto uninstall = os::open_key(os::predefined_key::local_machine, uninstall_key_path,
                                        os::key_access::all_access);
    if (!uninstall)
        return uninstall.error();
    const auto product =
        os::create_key(*uninstall, product_key_name(product_code), os::key_access::all_access);
    if (!product)
        return product.error();
    const os::registry_key& key = product->key;
    if (auto refused = on_opened(
            product->disposition == os::key_disposition::opened_existing_key ? &key : nullptr))
        return refused;

    // Only the two values that the installed-programs list and the next installer run cannot do
    // without decide the outcome.
    std::error_code failure =
        os::set_string_value(key, L"DisplayName", product_name(product_name_form::with_version));
    if (auto error = os::set_string_value(key, L"UninstallString", uninstaller_path); !failure)
        failure = error;
    os::set_string_value(key, L"DisplayIcon", std::wstring(program_path) + L",0");
    os::set_string_value(key, L"DisplayVersion", product_version_text);
    os::set_string_value(key, L"Publisher", publisher);
    os::set_string_value(key, L"URLInfoAbout", maker_web_address);
    os::set_string_value(key, L"HelpLink", maker_web_address);
    os::set_string_value(key, L"URLUpdateInfo", maker_web_address);
    os::set_string_value(key, L"HelpTelephone", maker_support_telephone);
    os::set_dword_value(key, L"NoModify", 1);
    os::set_dword_value(key, L"NoRepair", 1);
    os::set_dword_value(key, L"QvLanguage", static_cast<std::uint32_t>(language));
    return failure;
}

} // namespace qv
