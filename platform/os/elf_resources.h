#pragma once
// The resources of an ELF file: the .res image in its ".rsrc" section (ELF32 or ELF64, either
// byte order).

#include <cstddef>
#include <span>
#include <vector>

namespace platform::os {

class module_file;

bool has_elf_signature(std::span<const std::byte> head);

// The ".rsrc" section's bytes. Throws binary_format_error: ERROR_RESOURCE_DATA_NOT_FOUND when
// there is no such section or it is empty, ERROR_BAD_EXE_FORMAT for broken headers.
std::vector<std::byte> read_elf_resource_section(module_file& file);

} // namespace platform::os
