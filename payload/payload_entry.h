#pragma once
// One record of the payload's entry table, as the extraction keeps it.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

struct payload_entry {
    // The path on the machine that built the payload; only its file name is used here.
    std::wstring source_path;
    // The folder that receives the file, normally a placeholder and subfolders
    // ("<InstallPath>\Lang").
    std::wstring destination;
    // The resolved destination joined with the file name; set once the table has been read.
    std::wstring target_path;
    // An entry_kind value; the reader does not interpret it.
    std::uint32_t kind = 0;
    std::uint64_t size = 0;
    // CRC-32 of the content bytes.
    std::uint32_t crc = 0;
};

// The file name a source path gives its file: the part after the last '\' or '/', and after a
// drive prefix such as "C:".
std::wstring source_file_name(std::wstring_view source_path);

} // namespace qv
