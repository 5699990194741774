#pragma once
// The packer's manifest: which files go into the payload, where they are installed and how.
//
// Syntax (UTF-8 text, one entry per line, in payload order):
//
//     SOURCE<TAB>DESTINATION<TAB>KIND
//
// - Exactly three fields separated by single tab characters; nothing is trimmed, since names may
//   begin or end with spaces. A trailing carriage return (CRLF files) is ignored, and so is a
//   byte-order mark at the start of the file.
// - SOURCE is the file on the build host; a relative path is taken from the manifest's folder.
//   It is stored in the archive exactly as written; the installer uses only its file name.
// - DESTINATION is the folder on the target machine, normally a placeholder with subfolders
//   ("<InstallPath>\Lang"); it is stored as written.
// - KIND is a kind name (program_file, main_program, uninstaller, shared_data, sample,
//   temporary) or its number; any other decimal number below 2^32 is stored as it is.
// - A line whose first non-blank character is '#' is a comment; blank lines are skipped. A '#'
//   elsewhere is part of the field.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace qvpack {

struct manifest_entry {
    // "MANIFEST:LINE", for messages about the entry.
    std::string origin;
    // As written in the manifest, for the archive.
    std::wstring source_path;
    // Where the packer reads the file.
    std::filesystem::path host_file;
    std::wstring destination;
    std::uint32_t kind = 0;
};

// The help text's account of the syntax above.
extern const char* const manifest_syntax;

// Throws tool_error naming the manifest and the line of the first fault.
std::vector<manifest_entry> read_manifest(const std::filesystem::path& manifest);

} // namespace qvpack
