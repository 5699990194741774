#pragma once
// The name of an installation run's own temporary folder.

#include "app/install_session.h"

#include <string>

namespace qv {

// Sets session.temporary_folder to "qvarn_{<random UUID>}" in the user's temporary folder,
// without creating it. False, with the error text "%08x (GetTempPath)", when the user's
// temporary folder is unavailable or longer than 246 characters.
bool make_temporary_folder(install_session& session, std::wstring& error_text);

} // namespace qv
