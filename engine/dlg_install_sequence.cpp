#include "engine/dlg_install.h"

#include "app/language_state.h"
#include "app/localized_strings.h"
#include "app/product_identity.h"
#include "app/temporary_folder.h"
#include "engine/install_temporary_files.h"
#include "engine/message_text.h"
#include "engine/registered_program.h"
#include "engine/registration_run.h"
#include "engine/shortcut.h"
#include "engine/uninstall_entry.h"
#include "payload/extract_payload.h"
#include "payload/payload_resource.h"
#include "platform/os/file_attributes.h"
#include "platform/os/full_path.h"
#include "platform/os/shell_notify.h"
#include "platform/os/shell_path.h"
#include "platform/ui/desktop.h"

#include <optional>

namespace qv {
namespace fw = platform::framework;
namespace os = platform::os;
namespace ui = platform::ui;
namespace {

constexpr std::uint32_t msg_next = 6;
constexpr std::uint32_t msg_sample_folder = 18;
constexpr std::uint32_t msg_click_to_continue = 106;
constexpr std::uint32_t msg_preparing = 114;
constexpr std::uint32_t msg_shortcuts = 117;
constexpr std::uint32_t msg_registry = 118;
constexpr std::uint32_t msg_installation_data = 119;
constexpr std::uint32_t msg_installation_failed = 121;

// Shows the wait cursor while the installation runs, when there is a desktop to show it on.
class installation_cursor {
public:
    installation_cursor() {
        if (auto* session = ui::current_desktop())
            cursor_.emplace(*session);
    }

private:
    std::optional<ui::wait_cursor> cursor_;
};

// The installed programs cannot be changed by mistake; the uninstaller clears it again.
void make_read_only(const std::wstring& path) {
    if (const auto attributes = os::get_file_attributes(path))
        os::set_file_attributes(path, *attributes | os::file_attribute::readonly);
}

} // namespace

bool CDlgInstall::DoInstall() {
    m_programPath.clear();
    m_uninstallerPath.clear();
    AppendLog(L"");
    const installation_cursor waiting;
    SetStatus(localized_text(msg_preparing));

    std::wstring error_text;
    if (!make_temporary_folder(session_, error_text)) {
        const std::wstring failure = localized_text(msg_installation_failed, error_text);
        SetStatus(failure);
        AppendLog(failure + L"\r\n");
        return false;
    }
    const std::wstring sample_folder =
        localized_text(msg_sample_folder, product_name(product_name_form::plain));
    const temporary_files run_files(session_.temporary_folder);
    m_progress.SetPos(0);
    m_progress.ShowWindow(fw::SW_SHOW);

    auto payload = load_payload_resource();
    const target_folders folders{session_.install_folder, sample_folder, session_.temporary_folder};
    const bool extracted =
        extract_payload(payload, folders, [this, &payload](notification message) {
            return HandleNotification(payload, message);
        });
    if (!extracted) {
        session_.install_log.rollback();
        return false;
    }

    make_read_only(m_programPath);
    make_read_only(m_uninstallerPath);
    if (session_.start_menu_shortcut || session_.desktop_shortcut) {
        const std::wstring shortcuts = localized_text(msg_shortcuts);
        SetStatus(shortcuts);
        AppendLog(shortcuts);
        AppendOutcome(CreateShortcuts());
    }

    const std::wstring registry = localized_text(msg_registry);
    SetStatus(registry);
    AppendLog(registry);
    const bool entry_written = WriteRegistry();
    register_program_path(m_programPath);
    session_.install_log.add_registration();
    const auto exit_code =
        run_registration(m_programPath, session_.installed_version, session_.instance_mutex);
    const bool registered = exit_code && *exit_code == registration_succeeded;
    session_.install_log.settle_pending(registered ? action_outcome::done
                                                   : action_outcome::not_done);
    if (registered) {
        // The program has registered its file types: the shell must drop what it cached.
        const installation_cursor cursor;
        os::shell_change_notify(os::shell_change_event::association_changed,
                                os::shell_change_flags::flush);
    }
    AppendOutcome(entry_written && registered);

    const std::wstring installation_data = localized_text(msg_installation_data);
    SetStatus(installation_data);
    AppendLog(installation_data);
    AppendOutcome(WriteUninstallLog());
    SetStatus(localized_text(msg_click_to_continue, localized_text(msg_next)));
    return true;
}

bool CDlgInstall::CreateShortcuts() {
    const std::wstring display_name = product_name(product_name_form::with_version);
    bool ok = true;
    if (session_.start_menu_shortcut) {
        ok = CreateShortcut(shortcut_kind::menu, session_.shortcut_folder, m_programPath,
                            display_name) &&
             ok;
        ok = CreateShortcut(shortcut_kind::uninstall, session_.shortcut_folder, m_uninstallerPath,
                            uninstall_link_name()) &&
             ok;
    }
    if (session_.desktop_shortcut) {
        // Without a desktop folder there is nowhere to put the link, and nothing to record.
        const auto desktop = desktop_link_folder();
        ok = desktop &&
             CreateShortcut(shortcut_kind::desktop, *desktop, m_programPath, display_name) && ok;
    }
    return ok;
}

bool CDlgInstall::CreateShortcut(shortcut_kind which, const std::wstring& folder,
                                 const std::wstring& target, const std::wstring& name) {
    auto& journal = session_.install_log;
    if (journal.add_shortcut(which, folder))
        return false;
    // Named before the link is made, so that a link left half-written is still known.
    if (const auto link = os::path_combine(folder, name + L".lnk"))
        journal.records.back().path = *link;
    const auto created = create_shortcut(target, folder, name);
    if (!created) {
        journal.settle_pending(action_outcome::not_done);
        return false;
    }
    journal.records.back().path = *created;
    journal.settle_pending(action_outcome::done);
    return true;
}

bool CDlgInstall::WriteRegistry() {
    auto& journal = session_.install_log;
    const auto failure =
        write_uninstall_entry(m_programPath, m_uninstallerPath, language_state::instance().language,
                              [&journal](const os::registry_key* existing) {
                                  return journal.add_uninstall_key(existing);
                              });
    journal.settle_pending(failure ? action_outcome::not_done : action_outcome::done);
    return !failure;
}

bool CDlgInstall::WriteUninstallLog() {
    std::wstring log_path = m_uninstallerPath;
    if (log_path.size() >= os::max_path || !os::path_remove_file_spec(log_path) ||
        !os::path_append(log_path, uninstall_log_file_name))
        return false;
    return !session_.install_log.write(log_path, session_.install_folder, session_.shortcut_folder);
}

} // namespace qv
