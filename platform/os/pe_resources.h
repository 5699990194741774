#pragma once
// The resources of a PE file (a Windows program or library, 32 or 64 bits): the resource
// directory of its optional header, a tree type -> name -> language -> data entry whose data is
// addressed by RVAs mapped through the section table.

#include <cstddef>
#include <span>

namespace platform::os {

class module_file;
class resource_module;

// The "MZ" of a DOS header, which every PE file starts with.
bool has_pe_signature(std::span<const std::byte> head);

// Adds the file's resources to module. Throws binary_format_error: ERROR_RESOURCE_DATA_NOT_FOUND
// when the file has no resource directory, ERROR_BAD_EXE_FORMAT when its headers or the tree are
// broken (anything outside the file, a directory reached twice, a tree of the wrong depth).
void add_pe_resources(module_file& file, resource_module& module);

} // namespace platform::os
