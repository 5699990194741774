#include "app/startup.h"

#include "app/default_folders.h"
#include "app/file_version_info.h"
#include "app/language_locale.h"
#include "app/language_state.h"
#include "app/localized_strings.h"
#include "app/product_identity.h"
#include "platform/os/registry.h"

#include <cstring>
#include <optional>

namespace qv {
namespace os = platform::os;
namespace {

// SHGetValueW into a 4-byte number: a longer value fails, a shorter one fills the low bytes;
// the stored type is not looked at.
std::optional<std::uint32_t> stored_language() {
    auto key = os::open_key(os::predefined_key::local_machine,
                            L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" +
                                product_key_name(product_code),
                            os::key_access::query_value);
    if (!key)
        return std::nullopt;
    auto value = os::query_value(*key, L"QvLanguage");
    if (!value || value->bytes.size() > sizeof(std::uint32_t))
        return std::nullopt;
    unsigned char bytes[sizeof(std::uint32_t)] = {};
    std::memcpy(bytes, value->bytes.data(), value->bytes.size());
    return static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                      static_cast<std::uint32_t>(bytes[3]) << 24);
}

} // namespace

bool processor_supports_sse2() {
    return __builtin_cpu_supports("sse2");
}

std::error_code initialize_runtime() {
    return initialize_process_locale();
}

void choose_start_language() {
    set_language(select_default_language(product_languages));
    if (const auto stored = stored_language()) {
        // Any number outside the table is no product language.
        const auto index = static_cast<language_index>(*stored);
        if (is_product_language(index))
            set_language(index);
    }
    if (!is_installer_language(language_state::instance().language))
        set_language(languages::english);
}

std::wstring application_title(title_form form) {
    std::wstring title = localized_text(0);
    if (form == title_form::with_product)
        title += L" \u2013 " + product_name(product_name_form::with_version);
    return title;
}

void decide_install_state(install_session& session) {
    const std::wstring program = registered_program_path();
    if (program.empty()) {
        session.install_state = install_state::not_installed;
        return;
    }
    const file_version_info info(program);
    if (!info.has_fixed_block()) {
        session.install_state = install_state::same_version_installed;
        return;
    }
    const packed_version installed = info.file_version();
    if (installed > product_version) {
        session.install_state = install_state::newer_installed;
        session.installed_version_text = info.display_version_text();
    } else if (installed == product_version) {
        session.install_state = install_state::same_version_installed;
    } else {
        session.install_state = install_state::older_installed;
        session.installed_version_text = info.display_version_text();
        session.installed_version = installed;
    }
}

void read_earlier_folders(install_session& session) {
    if (session.install_state != install_state::same_version_installed &&
        session.install_state != install_state::older_installed) {
        session.install_log.read(std::nullopt);
        return;
    }
    const std::wstring log = find_uninstall_log();
    if (log.empty())
        return;
    session.install_log.read(log);
    session.install_folder = session.install_log.previous_install_folder;
    session.shortcut_folder = session.install_log.previous_shortcut_folder;
}

void fill_default_folders(install_session& session) {
    if (session.install_folder.empty())
        session.install_folder = default_install_folder();
    if (session.shortcut_folder.empty())
        session.shortcut_folder = default_shortcut_folder();
}

} // namespace qv
