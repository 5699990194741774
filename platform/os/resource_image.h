#pragma once
// The .res image: the resource compiler's output, a sequence of entries each with a header
// (DataSize, HeaderSize, TYPE, NAME, padding, DataVersion, MemoryFlags, LanguageId, Version,
// Characteristics) and its data padded to 4 bytes. TYPE and NAME are 0xFFFF and an ordinal or a
// NUL-terminated UTF-16 string. The image starts with an empty entry of type 0.

#include "platform/os/error.h"

#include <cstddef>
#include <span>

namespace platform::os {

class resource_module;

// Adds the image's entries to module, their bytes viewed in place in image. A malformed image
// throws binary_format_error with the code failure.
void add_resource_image(std::span<const std::byte> image, resource_module& module,
                        win32_error failure);

} // namespace platform::os
