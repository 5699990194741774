#pragma once
// Reading a compressed payload archive back: its table, and a full check of its contents.

#include <filesystem>
#include <ostream>

namespace qvpack {

// Prints the header and the entry table (number, kind, size, CRC-32, destination, file name),
// decompressing only as far as the table. Throws tool_error when they cannot be read.
void list_archive(const std::filesystem::path& archive, std::ostream& out);

// Decompresses the whole archive and checks its layout, its length and every entry's CRC-32
// as the installer would. Prints a summary to out when the archive is sound and returns true;
// otherwise prints what is wrong to problems and returns false.
bool verify_archive(const std::filesystem::path& archive, std::ostream& out,
                    std::ostream& problems);

} // namespace qvpack
