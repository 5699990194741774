#pragma once
// The session record: what the start-up found, what the user chose and what the installation
// did, shared by the start-up, the wizard's pages and the install sequence.

#include "app/instance_mutex.h"
#include "app/packed_version.h"
#include "engine/uninstall_log.h"

#include <cstdint>
#include <string>

namespace qv {

// What was found installed, compared with this installer's product version.
enum class install_state : std::int32_t {
    newer_installed = -1,
    not_installed = 0,
    same_version_installed = 1,
    older_installed = 2,
};

struct install_session {
    qv::install_state install_state = qv::install_state::not_installed;
    // Display version text of the installed program, for newer and older installations.
    std::wstring installed_version_text;
    named_mutex_guard instance_mutex;
    std::wstring install_folder;
    // The Start-menu program-group folder.
    std::wstring shortcut_folder;
    std::wstring temporary_folder;
    bool start_menu_shortcut = true;
    bool desktop_shortcut = true;
    bool advanced_method = false;
    uninstall_log install_log;
    bool installed = false;
    // The installed program's version when updating an older installation; 0 otherwise.
    packed_version installed_version = 0;
};

// The state found at start; with text, also the installed program's display version for a newer
// or an older installation (the text is left alone for the other states).
inline install_state get_install_state(const install_session& session,
                                       std::wstring* text = nullptr) {
    if (text && (session.install_state == install_state::newer_installed ||
                 session.install_state == install_state::older_installed))
        *text = session.installed_version_text;
    return session.install_state;
}

} // namespace qv
