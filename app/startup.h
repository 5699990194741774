#pragma once
// The installer's start-up steps, in the order the application runs them: the process checks,
// the interface language, what is installed, and the folders the wizard starts with.

#include "app/install_session.h"

#include <string>
#include <string_view>
#include <system_error>

namespace qv {

// The processor check: the program needs SSE2.
bool processor_supports_sse2();
inline constexpr std::wstring_view incompatible_processor_text =
    L"This Version is not compatible with your Configuration.\n\nCette version n'est pas "
    L"compatible avec votre configuration.\n\nDiese Version ist nicht mit Ihrer Konfiguration "
    L"kompatibel.";
inline constexpr int incompatible_processor_exit_code = 1;

// The runtime's process-wide locale from the user's default locale; a failure stops the program
// with the initialization error.
std::error_code initialize_runtime();
inline constexpr std::wstring_view initialization_error_text = L"Initialization Error";
inline constexpr int initialization_error_exit_code = -11;

// The interface language to start in: the user's language among the product languages, replaced
// by the choice stored by an earlier installation ("QvLanguage") when that is a product
// language, and English when the result is not an installer language.
void choose_start_language();

// The installer's title: message 0 and, with the product, " – Varnolis 2.32g".
enum class title_form { plain, with_product };
std::wstring application_title(title_form form);

// What is installed, from the registered program's file version.
void decide_install_state(install_session& session);

// The install and shortcut folders of the earlier installation's log, for a reinstallation or
// an update; for the other states no log is read.
void read_earlier_folders(install_session& session);

// The default folders, for whichever of the two is still empty.
void fill_default_folders(install_session& session);

} // namespace qv
