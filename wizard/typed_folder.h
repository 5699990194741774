#pragma once
// The folder that a name typed into the folder browser's edit box stands for.

#include "platform/os/result.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The typed text fully qualified: blanks around it and a trailing backslash removed, a bare
// drive ("C:") taken as its root, an empty text as the current directory; qualified against the
// base folder when there is one (and then required to lie inside it), else against the current
// directory, which is left as it was. The folder need not exist.
// Errors: HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE) for a text of MAX_PATH characters or
// more; the error of making the base folder current; ERROR_BAD_PATHNAME for a text that cannot
// be qualified, lies outside the base folder, or has characters invalid in names or wildcards.
platform::os::result<std::wstring>
qualify_typed_folder(std::wstring_view typed, const std::optional<std::wstring>& base_folder);

} // namespace qv
