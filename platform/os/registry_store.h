#pragma once
// The hive files of the machine. Reads take the file as it is, through a cache of its parsed
// form, and need no lock because files are only ever replaced by rename. Changes are made under
// the hive's lock on the latest file and written to a new file renamed over the old one, so a
// crash leaves the old or the new file and changes of concurrent processes all survive.

#include "platform/os/registry_file.h"
#include "platform/os/registry_hive.h"
#include "platform/os/result.h"

#include <functional>

namespace platform::os {

enum class hive_change { none, made };

// Runs read on the hive's root key. A malformed hive is reported on stderr and gives ERROR_BADDB.
std::error_code read_hive(registry_hive hive,
                          const std::function<std::error_code(const registry_node&)>& read);

// Runs change on the hive's root key under the hive's lock and writes the hive when change
// reports one. change must leave the tree untouched when it fails. A malformed hive is reported
// on stderr, gives ERROR_BADDB and is never written.
std::error_code change_hive(registry_hive hive,
                            const std::function<result<hive_change>(registry_node&)>& change);

// Writes the error's text to stderr; gives ERROR_BADDB.
std::error_code report_registry_file_error(const registry_file_error& error);

// The key below HKEY_LOCAL_MACHINE that HKEY_CLASSES_ROOT shows. It always exists.
const registry_path& classes_root_path();

} // namespace platform::os
