#pragma once
// Putting a whole new file in place of an old one so that a failure at any point leaves the
// old file as it was: written beside it under a temporary name, flushed, then renamed over it.

#include <cstdint>
#include <string_view>
#include <system_error>

namespace qv {

// The file at path gets exactly bytes and the given attributes, replacing an earlier file even
// when that one is read-only. Links are never followed: a link at path is itself replaced. On
// failure nothing of the new file is left and the earlier file keeps its content and
// attributes.
std::error_code replace_file_contents(std::wstring_view path, std::string_view bytes,
                                      std::uint32_t attributes);

} // namespace qv
