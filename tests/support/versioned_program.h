#pragma once
// Program files with chosen resources for the tests, written independently of the resource
// reader: .res images, string table blocks, VS_VERSIONINFO blocks, minimal PE files with a
// resource directory, and ELF files with a ".rsrc" section (made by objcopy).

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace qv_test {

// A resource type or name: an ordinal or a string.
using resource_name = std::variant<std::uint16_t, std::wstring>;

struct resource_entry {
    resource_name type;
    resource_name name;
    std::uint16_t language = 0;
    std::string data;
};

// A .res image as the resource compiler writes it: the empty entry, then the entries in order.
std::string res_image(const std::vector<resource_entry>& entries);

// A string table block: 16 counted UTF-16 strings; slots not given are empty.
std::string string_block(const std::map<int, std::wstring>& slots);

// UTF-16LE bytes of text, without a NUL.
std::string utf16le(std::wstring_view text);

struct version_description {
    std::array<std::uint16_t, 4> file_version{1, 0, 0, 0};
    std::array<std::uint16_t, 4> product_version{1, 0, 0, 0};
    std::uint32_t file_flags_mask = 0x3F;
    std::uint32_t file_flags = 0;
    std::uint32_t file_os = 0x40004;
    std::uint32_t file_type = 1;
    std::uint32_t file_subtype = 0;
    std::wstring table = L"040904b0";
    std::vector<std::pair<std::wstring, std::wstring>> strings;
    // (language, code page) pairs of "\VarFileInfo\Translation"
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations{{0x0409, 1200}};
};

// The VS_VERSIONINFO block.
std::string version_block(const version_description& version);

// The version resource (type 16, id 1, neutral language) holding the block.
resource_entry version_resource(const version_description& version);

enum class pe_kind { pe32, pe32_plus };

// Where the parts of a written PE file are, for tests that damage them.
struct pe_layout {
    std::size_t nt_headers;      // "PE\0\0"
    std::size_t optional_header; // its Magic
    std::size_t data_directories;
    std::size_t section_table;
    std::size_t resources; // the root resource directory; 0 without resources
    std::size_t file_size;
};

// A minimal PE program whose only section, ".rsrc", holds the entries' resource directory;
// without entries there is neither section nor resource directory.
pe_layout write_pe_program(const std::filesystem::path& file,
                           const std::vector<resource_entry>& entries,
                           pe_kind kind = pe_kind::pe32_plus);

// A copy of an ELF program with image as its ".rsrc" section (replacing one it had).
void write_elf_program(const std::filesystem::path& file, const std::filesystem::path& program,
                       const std::string& image);

// An ELF object of objcopy's target ("elf32-i386", "elf64-big", ...) whose ".rsrc" section holds
// image.
void write_elf_object(const std::filesystem::path& file, std::string_view target,
                      const std::string& image);

// The running test program, an ELF file of this host.
std::filesystem::path own_program();

enum class program_format { elf, pe32, pe32_plus };

// A program carrying a version resource and nothing else.
void write_versioned_program(const std::filesystem::path& file, const version_description& version,
                             program_format format = program_format::elf);

} // namespace qv_test
