#pragma once
// Wine's registry text format: a hive, or a key saved on its own, as the text of a file.

#include "platform/os/registry_tree.h"

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::os {

struct registry_document {
    // The lines between the first line and the first key, as they were read: the comment that
    // names the root, global options such as "#arch=win64", and anything else kept there.
    std::vector<std::string> preamble;
    registry_node root;
};

// A file that is not in the format. Its code is ERROR_BADDB; what() is "<file>:<line>: <reason>".
class registry_file_error : public std::system_error {
public:
    registry_file_error(const std::string& file, std::size_t line, const std::string& reason);
    const char* what() const noexcept override { return message_.c_str(); }
    std::size_t line() const { return line_; }

private:
    std::string message_;
    std::size_t line_;
};

// Reads the text of a file; file names it in errors. Throws registry_file_error.
registry_document parse_registry_file(std::string_view text, const std::string& file);

// The text of a file holding root and its subtree, keys in Windows' name order.
std::string format_registry_file(const std::vector<std::string>& preamble,
                                 const registry_node& root);

} // namespace platform::os
