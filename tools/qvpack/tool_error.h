#pragma once
// A failure that qvpack reports on stderr and ends with a non-zero exit code.

#include <stdexcept>
#include <string>

namespace qvpack {

class tool_error : public std::runtime_error {
public:
    explicit tool_error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace qvpack
