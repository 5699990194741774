#pragma once
// Localized resources, looked up in the language service's resource module and, when that is
// another module, in the program itself.

#include "platform/os/resources.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace qv {

// The resource's bytes, valid as long as its module; empty when it is missing or empty.
std::span<const std::byte> load_resource(const platform::os::resource_id& type,
                                         const platform::os::resource_id& name);

// The string with this id from the first module that has its string-table block (block
// id / 16 + 1); empty when that block has no such entry.
std::wstring load_resource_string(std::uint32_t id);

} // namespace qv
