#pragma once
// The payload's manifest: every file the installer carries, in the order of the payload, with the
// folder it goes to and what the installer does with it. One entry per line,
// "source file<TAB>destination<TAB>kind", UTF-8, lines starting with '#' are comments.

#include "payload/entry_kind.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace product_data {

struct manifest_entry {
    std::filesystem::path source;
    std::wstring destination;
    qv::entry_kind kind;
};

struct payload_sources {
    std::vector<std::filesystem::path> samples;
    std::vector<std::filesystem::path> stock_data;
    // In the order the payload lists them.
    std::vector<std::filesystem::path> language_libraries;
    std::filesystem::path main_program;
    // The product's uninstaller, once there is one to carry.
    std::optional<std::filesystem::path> uninstaller;
};

// The samples and the stock data interleaved by file name (compared without case, as Windows
// sorts names), then the uninstaller, the language libraries, and the main program last.
std::vector<manifest_entry> payload_entries(const payload_sources& sources);

std::string manifest_text(const std::vector<manifest_entry>& entries);

} // namespace product_data
