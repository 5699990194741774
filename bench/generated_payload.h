#pragma once
// A payload of the product's size and shape, generated deterministically and packed by qvpack:
// 34 entries, about 8.8 MB decompressed, the main program about 5.5 MB, contents from
// text-like to random so that it compresses to roughly 40 %.

#include <cstdint>
#include <filesystem>
#include <string>

namespace qv_bench {

struct generated_payload {
    // The compressed archive, as the installer's resource holds it.
    std::string compressed;
    std::uint64_t decompressed_size = 0;
    std::uint32_t entry_count = 0;
};

// Writes the files and the manifest below work_folder, runs qvpack on them and reads the archive
// back. Throws std::runtime_error when packing fails.
generated_payload generate_payload(const std::filesystem::path& work_folder);

} // namespace qv_bench
