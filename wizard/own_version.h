#pragma once
// The installer's own version resource, for the texts that name the installer.

#include "app/file_version_info.h"

#include <memory>

namespace qv {

// None when the program has no version resource.
std::unique_ptr<file_version_info> own_version_info();

} // namespace qv
