#include "engine/dlg_install.h"

#include "app/localized_strings.h"
#include "engine/install_report.h"
#include "engine/install_temporary_files.h"
#include "engine/message_text.h"
#include "payload/compress_error.h"
#include "payload/entry_kind.h"
#include "payload/payload_file_error.h"
#include "payload/verify_payload.h"
#include "platform/os/files.h"
#include "platform/os/shell_path.h"
#include "platform/ui/desktop.h"
#include "platform/ui/modal_loop.h"
#include "support/access_rights.h"
#include "support/security.h"

#include <system_error>
#include <variant>

namespace qv {
namespace os = platform::os;
namespace {

constexpr std::uint32_t msg_preparing = 114;
constexpr std::uint32_t msg_copying_file = 115;
constexpr std::uint32_t msg_failed = 12;
constexpr std::uint32_t msg_installation_failed = 121;

entry_kind kind_of(const payload_entry& entry) {
    return entry.kind > static_cast<std::uint32_t>(entry_kind::temporary)
               ? entry_kind::program_file
               : static_cast<entry_kind>(entry.kind);
}

// Opens a shared data file to the local users. A failure leaves the file as it is and the
// installation going: the data is there, only less widely writable.
void open_to_users(const std::wstring& path) {
    try {
        grant_users_access(path, file_rights::read_write_delete, ace_flags::none);
    } catch (const std::system_error&) {
    }
}

// Stops the extraction before the entry's file is written: the journal could not set aside
// what is at its path, so writing it would lose that for good.
[[noreturn]] void refuse_entry(const std::wstring& path, std::error_code error) {
    throw payload_file_error("keeping what the file replaces", path, error);
}

} // namespace

notification::result CDlgInstall::HandleNotification(std::istream& payload,
                                                     const notification& message) {
    const notification::result answer = std::visit(
        [&](const auto& step) -> notification::result {
            using step_type = std::decay_t<decltype(step)>;
            if constexpr (std::is_same_v<step_type, notification::started>) {
                return OnStarted(payload);
            } else if constexpr (std::is_same_v<step_type, notification::file_begin>) {
                return OnFileBegin(*step.entry);
            } else if constexpr (std::is_same_v<step_type, notification::file_end>) {
                return OnFileEnd(*step.entry);
            } else if constexpr (std::is_same_v<step_type, notification::progress>) {
                m_progress.SetPos(progress_percent(step.position, step.total));
                return notification::result::proceed;
            } else if constexpr (std::is_same_v<step_type, notification::failed>) {
                return OnFailed(step);
            } else {
                return notification::result::proceed;
            }
        },
        static_cast<const notification_variant&>(message));
    if (auto* session = platform::ui::current_desktop())
        platform::ui::pump_messages(*session);
    return answer;
}

notification::result CDlgInstall::OnStarted(std::istream& payload) {
    const std::wstring preparing = localized_text(msg_preparing);
    SetStatus(preparing);
    AppendLog(preparing);
    const auto start = payload.tellg();
    if (!verify_payload(payload))
        throw std::system_error(compress_error::check_failed);
    payload.clear();
    payload.seekg(start);
    AppendOutcome(true);
    return notification::result::proceed;
}

notification::result CDlgInstall::OnFileBegin(const payload_entry& entry) {
    const std::wstring& target = entry.target_path;
    const entry_kind kind = kind_of(entry);
    auto& journal = session_.install_log;
    switch (kind) {
    case entry_kind::main_program:
        m_programPath = target;
        break;
    case entry_kind::uninstaller:
        m_uninstallerPath = target;
        break;
    case entry_kind::shared_data:
        if (session_.install_state != install_state::not_installed &&
            journal.is_installed_file(target)) {
            open_to_users(target);
            return notification::result::skip;
        }
        if (os::path_exists(target)) {
            // Data of the users' own that an earlier installation did not bring: kept as it
            // is, with a copy for the rollback.
            if (auto error = journal.add_file(target, static_cast<std::int32_t>(entry.kind),
                                              existing_file::copy_to_backup))
                refuse_entry(target, error);
            journal.settle_pending(action_outcome::done);
            open_to_users(target);
            return notification::result::skip;
        }
        break;
    case entry_kind::sample:
        if (session_.install_state == install_state::older_installed)
            return notification::result::skip;
        break;
    case entry_kind::temporary:
        if (auto* run = temporary_files::current())
            run->add(target);
        break;
    case entry_kind::program_file:
        break;
    }
    std::wstring quoted_target = target;
    os::path_quote_spaces(quoted_target);
    const std::wstring text = localized_text(msg_copying_file, quoted_target);
    SetStatusPath(text);
    AppendLog(text);
    if (kind != entry_kind::temporary) {
        const auto existing = kind == entry_kind::shared_data ? existing_file::copy_to_backup
                                                              : existing_file::move_to_backup;
        if (auto error = journal.add_file(target, static_cast<std::int32_t>(entry.kind), existing))
            refuse_entry(target, error);
    }
    return notification::result::proceed;
}

notification::result CDlgInstall::OnFileEnd(const payload_entry& entry) {
    const entry_kind kind = kind_of(entry);
    if (kind == entry_kind::shared_data)
        open_to_users(entry.target_path);
    if (kind != entry_kind::temporary)
        session_.install_log.settle_pending(action_outcome::done);
    AppendOutcome(true);
    return notification::result::proceed;
}

notification::result CDlgInstall::OnFailed(const notification::failed& failure) {
    session_.install_log.settle_pending(action_outcome::not_done);
    AppendLog(localized_text(msg_failed) + L"\r\n");
    SetStatus(localized_text(msg_installation_failed, failure_error_text(failure.code)));
    return notification::result::cancel;
}

} // namespace qv
