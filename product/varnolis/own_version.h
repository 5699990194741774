#pragma once
// The version resource linked into this program: its version, its names, its application id.

#include "app/file_version_info.h"

namespace varnolis {

// Read in place, once.
const qv::file_version_info& own_version_info();

} // namespace varnolis
