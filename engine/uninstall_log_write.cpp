#include "app/product_identity.h"
#include "engine/backup_files.h"
#include "engine/file_replacement.h"
#include "engine/log_merge.h"
#include "engine/log_text.h"
#include "engine/uninstall_key_backup.h"
#include "engine/uninstall_log.h"

#include "platform/os/file_attributes.h"
#include "platform/os/unicode.h"

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::uint32_t log_attributes = os::file_attribute::readonly |
                                         os::file_attribute::archive |
                                         os::file_attribute::not_content_indexed;

constexpr std::wstring_view registration_text = L"HKEY_CLASSES_ROOT\\...";

// The key and the registration have no path of their own; the log names them.
void name_registry_records(std::list<log_record>& records) {
    for (log_record& record : records) {
        if (record.kind == log_record_kind::uninstall_key)
            record.path = uninstall_key_full_name();
        else if (record.kind == log_record_kind::registration)
            record.path = registration_text;
    }
}

// A backup that cannot be deleted stays in the temporary folder, still named by its record.
void discard_backups(std::list<log_record>& records) {
    for (log_record& record : records) {
        if (!record.backup.empty() && !force_delete_file(record.backup)) {
            record.backup.clear();
            record.backup_origin.clear();
        }
    }
}

} // namespace

std::error_code uninstall_log::write(std::wstring_view log_path, std::wstring_view install_folder,
                                     std::wstring_view shortcut_folder) {
    merge_records(previous_records, records);
    name_registry_records(records);
    const std::wstring product = product_name(product_name_form::with_version);
    const std::wstring text =
        log_text({product, previous_product, install_folder, shortcut_folder}, records);
    const std::string bytes = "\xFF\xFE" + os::to_utf16le(text);
    if (auto error = replace_file_contents(log_path, bytes, log_attributes))
        return error;
    discard_backups(records);
    return {};
}

} // namespace qv
