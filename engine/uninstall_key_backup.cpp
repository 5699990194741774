#include "engine/uninstall_key_backup.h"

#include "app/product_identity.h"
#include "engine/backup_files.h"
#include "engine/privilege_switch.h"
#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/registry.h"

namespace qv {
namespace os = platform::os;
namespace {

os::result<os::registry_key> open_uninstall_key() {
    return os::open_key(os::predefined_key::local_machine, uninstall_key_path,
                        os::key_access::all_access);
}

} // namespace

std::wstring uninstall_key_full_name() {
    return L"HKEY_LOCAL_MACHINE\\" + std::wstring(uninstall_key_path) + L"\\" +
           product_key_name(product_code);
}

os::result<std::wstring> save_key_backup(const os::registry_key& key) {
    auto reserved = reserve_backup_name();
    if (!reserved)
        return reserved;
    // RegSaveKeyW writes only a new file: the key goes beside the reserved name and then takes
    // its place, so the name stays taken throughout.
    const std::wstring saved = *reserved + L"~";
    std::error_code error;
    {
        const privilege_scope backup_privilege(L"SeBackupPrivilege");
        error = os::save_key(key, saved);
    }
    if (!error) {
        error = os::move_file_replace(saved, *reserved);
        if (error)
            os::delete_file(saved);
    }
    if (error) {
        os::delete_file(*reserved);
        return error;
    }
    return reserved;
}

std::error_code restore_uninstall_key(std::wstring_view backup) {
    {
        const privilege_scope restore_privilege(L"SeRestorePrivilege");
        const auto uninstall = open_uninstall_key();
        if (!uninstall)
            return uninstall.error();
        const auto product =
            os::create_key(*uninstall, product_key_name(product_code), os::key_access::all_access);
        if (!product)
            return product.error();
        if (auto error = os::restore_key(product->key, backup, 0))
            return error;
    }
    return force_delete_file(backup);
}

std::error_code delete_uninstall_key() {
    const auto uninstall = open_uninstall_key();
    if (!uninstall)
        return uninstall.error() == os::win32_error::file_not_found ? std::error_code()
                                                                    : uninstall.error();
    const std::error_code error = os::delete_tree(*uninstall, product_key_name(product_code));
    return error == os::win32_error::file_not_found ? std::error_code() : error;
}

} // namespace qv
