#include "platform/os/pe_resources.h"

#include "platform/os/binary_view.h"
#include "platform/os/module_file.h"
#include "platform/os/resource_module.h"

#include <map>
#include <set>
#include <vector>

namespace platform::os {
namespace {

constexpr auto broken = win32_error::bad_exe_format;

constexpr std::uint16_t dos_magic = 0x5A4D; // "MZ"
constexpr std::uint32_t pe_magic = 0x4550;  // "PE\0\0"
constexpr std::uint16_t pe32_magic = 0x10B;
constexpr std::uint16_t pe32_plus_magic = 0x20B;
constexpr std::uint64_t dos_header_size = 64;
constexpr std::uint64_t dos_new_header_field = 0x3C;
constexpr std::uint64_t file_header_size = 24; // the signature and IMAGE_FILE_HEADER
constexpr std::uint64_t section_header_size = 40;
constexpr std::uint32_t resource_directory_index = 2; // IMAGE_DIRECTORY_ENTRY_RESOURCE

constexpr std::uint32_t high_bit = 0x80000000;

struct pe_section {
    std::uint32_t virtual_address;
    std::uint32_t raw_size;
    std::uint32_t raw_offset;
};

// The RVA and size of the resource directory, and the sections of the image.
struct pe_headers {
    std::uint32_t resource_rva = 0;
    std::uint32_t resource_size = 0;
    std::vector<pe_section> sections;
};

pe_headers read_headers(module_file& file) {
    pe_headers headers;
    const auto dos_bytes = file.read(0, dos_header_size);
    const binary_view dos(dos_bytes, broken);
    if (dos.u16(0) != dos_magic)
        dos.fail();
    const std::uint64_t nt_offset = dos.u32(dos_new_header_field);

    const auto nt_bytes = file.read(nt_offset, file_header_size);
    const binary_view nt(nt_bytes, broken);
    if (nt.u32(0) != pe_magic)
        nt.fail();
    const std::uint16_t section_count = nt.u16(6);
    const std::uint16_t optional_size = nt.u16(20);

    const auto optional_bytes = file.read(nt_offset + file_header_size, optional_size);
    const binary_view optional(optional_bytes, broken);
    std::uint64_t directories = 0;
    switch (optional.u16(0)) {
    case pe32_magic:
        directories = 96;
        break;
    case pe32_plus_magic:
        directories = 112;
        break;
    default:
        optional.fail();
    }
    const std::uint32_t directory_count = optional.u32(directories - 4);
    if (directory_count > resource_directory_index) {
        headers.resource_rva = optional.u32(directories + 8 * resource_directory_index);
        headers.resource_size = optional.u32(directories + 8 * resource_directory_index + 4);
    }

    const auto table_bytes = file.read(nt_offset + file_header_size + optional_size,
                                       section_count * section_header_size);
    const binary_view table(table_bytes, broken);
    for (std::uint64_t at = 0; at < table.size(); at += section_header_size)
        headers.sections.push_back({table.u32(at + 12), table.u32(at + 16), table.u32(at + 20)});
    return headers;
}

// Walks the resource tree; the bytes of each section it touches are read once.
class resource_tree {
public:
    resource_tree(module_file& file, resource_module& module, std::vector<pe_section> sections)
        : file_(file), module_(module), sections_(std::move(sections)) {}

    void add_all(std::uint32_t directory_rva);

private:
    struct located {
        std::size_t section;
        std::uint64_t offset; // within the section's bytes
    };
    located locate(std::uint32_t rva, std::uint64_t size) const;
    std::span<const std::byte> section_bytes(std::size_t index);
    std::span<const std::byte> data(std::uint32_t rva, std::uint32_t size);

    resource_id entry_id(std::uint32_t field) const;
    // path: the type and name of the directories above this one.
    void add_directory(std::uint32_t offset, std::vector<resource_id>& path);

    module_file& file_;
    resource_module& module_;
    std::vector<pe_section> sections_;
    std::map<std::size_t, std::span<const std::byte>> read_sections_;
    std::uint64_t bytes_read_ = 0;
    std::span<const std::byte> tree_;
    std::set<std::uint32_t> visited_;
};

resource_tree::located resource_tree::locate(std::uint32_t rva, std::uint64_t size) const {
    for (std::size_t index = 0; index < sections_.size(); ++index) {
        const pe_section& section = sections_[index];
        if (rva < section.virtual_address)
            continue;
        const std::uint64_t offset = rva - section.virtual_address;
        if (offset < section.raw_size && size <= section.raw_size - offset)
            return {index, offset};
    }
    throw binary_format_error(broken);
}

std::span<const std::byte> resource_tree::section_bytes(std::size_t index) {
    if (const auto found = read_sections_.find(index); found != read_sections_.end())
        return found->second;
    const pe_section& section = sections_[index];
    // Sections whose raw data overlap could otherwise make a small file fill the memory.
    bytes_read_ += section.raw_size;
    if (bytes_read_ > file_.size())
        throw binary_format_error(broken);
    const auto bytes = module_.keep(file_.read(section.raw_offset, section.raw_size));
    read_sections_.emplace(index, bytes);
    return bytes;
}

std::span<const std::byte> resource_tree::data(std::uint32_t rva, std::uint32_t size) {
    const located where = locate(rva, size);
    return section_bytes(where.section).subspan(static_cast<std::size_t>(where.offset), size);
}

resource_id resource_tree::entry_id(std::uint32_t field) const {
    if ((field & high_bit) == 0)
        return static_cast<std::uint16_t>(field);
    // IMAGE_RESOURCE_DIR_STRING_U: a count of UTF-16 units, then the units.
    const binary_view tree(tree_, broken);
    const std::uint64_t at = field & ~high_bit;
    const std::uint16_t length = tree.u16(at);
    return utf16le_text(tree.range(at + 2, std::uint64_t{length} * 2));
}

void resource_tree::add_directory(std::uint32_t offset, std::vector<resource_id>& path) {
    constexpr std::size_t language_depth = 2;
    const std::size_t depth = path.size();
    const binary_view tree(tree_, broken);
    // A tree has no shared directories; reaching one twice is a loop or a trap.
    if (!visited_.insert(offset).second)
        tree.fail();
    const std::uint64_t entries = std::uint64_t{tree.u16(offset + 12)} + tree.u16(offset + 14);
    for (std::uint64_t index = 0; index < entries; ++index) {
        const std::uint64_t entry = offset + 16 + index * 8;
        const std::uint32_t id_field = tree.u32(entry);
        const std::uint32_t target = tree.u32(entry + 4);
        const bool is_directory = (target & high_bit) != 0;
        if (is_directory != (depth < language_depth))
            tree.fail();
        if (is_directory) {
            path.push_back(entry_id(id_field));
            add_directory(target & ~high_bit, path);
            path.pop_back();
            continue;
        }
        if ((id_field & high_bit) != 0)
            tree.fail();
        // IMAGE_RESOURCE_DATA_ENTRY: the data's RVA and size, its code page, a reserved word.
        module_.add(path[0], path[1], static_cast<std::uint16_t>(id_field),
                    data(tree.u32(target), tree.u32(target + 4)));
    }
}

void resource_tree::add_all(std::uint32_t directory_rva) {
    const located where = locate(directory_rva, 0);
    tree_ = section_bytes(where.section).subspan(static_cast<std::size_t>(where.offset));
    std::vector<resource_id> path;
    add_directory(0, path);
}

} // namespace

bool has_pe_signature(std::span<const std::byte> head) {
    return head.size() >= 2 && head[0] == std::byte{'M'} && head[1] == std::byte{'Z'};
}

void add_pe_resources(module_file& file, resource_module& module) {
    pe_headers headers = read_headers(file);
    if (headers.resource_rva == 0 || headers.resource_size == 0)
        throw binary_format_error(win32_error::resource_data_not_found);
    resource_tree(file, module, std::move(headers.sections)).add_all(headers.resource_rva);
}

} // namespace platform::os
