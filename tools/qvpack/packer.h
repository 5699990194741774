#pragma once
// Packing the manifest's files into a compressed payload archive.

#include "tools/qvpack/manifest.h"

#include <filesystem>
#include <vector>

namespace qvpack {

// Writes the archive as one bzip2 stream with 900 k blocks. The sources are read twice, once
// for their sizes and checksums (the table precedes the contents) and once to copy them, each in
// small blocks, so no file is held whole. The archive appears at out only when complete. Throws
// tool_error naming the file at fault.
void pack(const std::vector<manifest_entry>& manifest, const std::filesystem::path& out);

} // namespace qvpack
