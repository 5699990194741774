#pragma once
// The error code that reports a failure of the extraction.

#include <exception>
#include <system_error>

namespace qv {

// In this order: a bzip2 decompressor error is compress_error::bzip2_error; a system error of
// the standard library (file errors, the payload's own codes, stream failures) is its own code;
// a Boost system error keeps its value in the generic category, or becomes the Windows code of
// its errno in the system category; anything else is compress_error::unexpected.
std::error_code failure_code(const std::exception& failure);

} // namespace qv
