#include "product/data/resource_dll.h"

#include "product/data/byte_writer.h"

#include <map>

namespace product_data {
namespace {

constexpr std::uint32_t headers_size = 0x400;
constexpr std::uint32_t file_alignment = 0x200;
constexpr std::uint32_t section_alignment = 0x1000;
constexpr std::uint32_t section_rva = 0x1000;
constexpr std::uint32_t new_header_offset = 0x80;
constexpr std::uint32_t subdirectory_flag = 0x80000000;

constexpr std::uint32_t align_up(std::uint32_t value, std::uint32_t boundary) {
    return (value + boundary - 1) / boundary * boundary;
}

// The DOS header and the stub that tells DOS this is not its program.
void write_dos_part(byte_writer& out) {
    out.raw("MZ");
    out.u16(0x90); // bytes on the last page
    out.u16(3);    // pages
    out.u16(0);    // relocations
    out.u16(4);    // header paragraphs
    out.u16(0);
    out.u16(0xFFFF);
    out.u16(0);
    out.u16(0xB8); // initial SP
    out.zeros(0x18 - out.size());
    out.u16(0x40); // relocation table offset
    out.zeros(0x3C - out.size());
    out.u32(new_header_offset);
    // push cs; pop ds; mov dx, message; mov ah, 9; int 21h; mov ax, 4C01h; int 21h
    out.raw("\x0E\x1F\xBA\x0E\x00\xB4\x09\xCD\x21\xB8\x01\x4C\xCD\x21");
    out.raw("This program cannot be run in DOS mode.\r\r\n$");
    out.zeros(new_header_offset - out.size());
}

void write_nt_headers(byte_writer& out, std::uint32_t section_size) {
    const std::uint32_t raw_size = align_up(section_size, file_alignment);
    out.raw(std::string("PE\0\0", 4));
    // IMAGE_FILE_HEADER
    out.u16(0x8664); // x64
    out.u16(1);      // sections
    out.u32(0);      // time stamp: none, so that every build writes the same bytes
    out.u32(0);
    out.u32(0);
    out.u16(240);    // size of the optional header
    out.u16(0x2022); // executable image, large addresses, DLL
    // IMAGE_OPTIONAL_HEADER64
    out.u16(0x20B);
    out.u8(14); // linker version
    out.u8(0);
    out.u32(0);        // code
    out.u32(raw_size); // initialised data
    out.u32(0);
    out.u32(0); // entry point: a resource-only DLL has none
    out.u32(section_rva);
    out.u64(0x180000000);
    out.u32(section_alignment);
    out.u32(file_alignment);
    out.u16(6); // operating system version
    out.u16(0);
    out.u16(2); // image version
    out.u16(32);
    out.u16(6); // subsystem version
    out.u16(0);
    out.u32(0);
    out.u32(section_rva + align_up(section_size, section_alignment)); // image size
    out.u32(headers_size);
    out.u32(0);      // checksum
    out.u16(2);      // Windows GUI
    out.u16(0x0140); // dynamic base, NX compatible
    out.u64(0x100000);
    out.u64(0x1000);
    out.u64(0x100000);
    out.u64(0x1000);
    out.u32(0);
    constexpr std::uint32_t directory_count = 16;
    constexpr std::uint32_t resource_directory = 2;
    out.u32(directory_count);
    for (std::uint32_t i = 0; i < directory_count; ++i) {
        out.u32(i == resource_directory ? section_rva : 0);
        out.u32(i == resource_directory ? section_size : 0);
    }
    // IMAGE_SECTION_HEADER
    out.raw(std::string(".rsrc\0\0\0", 8));
    out.u32(section_size);
    out.u32(section_rva);
    out.u32(raw_size);
    out.u32(headers_size);
    out.zeros(12);
    out.u32(0x40000040); // initialised data, readable
}

using language_map = std::map<std::uint16_t, const std::string*>;
using name_map = std::map<std::uint16_t, language_map>;
using type_map = std::map<std::uint16_t, name_map>;

// IMAGE_RESOURCE_DIRECTORY with its entries left to fill in; the offset of the first entry.
std::size_t directory(byte_writer& out, std::size_t entries) {
    out.zeros(12); // characteristics, time stamp, version
    out.u16(0);    // named entries: every id here is a number
    out.u16(static_cast<std::uint32_t>(entries));
    const std::size_t first = out.size();
    out.zeros(8 * entries);
    return first;
}

// The directories level by level, then the data entries, then the data, each 8-aligned.
std::string resource_section(const std::vector<dll_resource>& resources) {
    type_map types;
    for (const dll_resource& resource : resources)
        types[resource.type][resource.name][resource.language] = &resource.data;

    byte_writer out;
    const std::size_t type_entries = directory(out, types.size());
    std::vector<std::pair<std::size_t, const name_map*>> name_directories;
    std::size_t entry = type_entries;
    for (const auto& [type, names] : types) {
        out.patch32(entry, type);
        out.patch32(entry + 4, subdirectory_flag | out.size());
        name_directories.emplace_back(directory(out, names.size()), &names);
        entry += 8;
    }
    std::vector<std::pair<std::size_t, const language_map*>> language_directories;
    for (const auto& [first, names] : name_directories) {
        entry = first;
        for (const auto& [name, languages] : *names) {
            out.patch32(entry, name);
            out.patch32(entry + 4, subdirectory_flag | out.size());
            language_directories.emplace_back(directory(out, languages.size()), &languages);
            entry += 8;
        }
    }
    std::vector<std::pair<std::size_t, const std::string*>> data_entries;
    for (const auto& [first, languages] : language_directories) {
        entry = first;
        for (const auto& [language, data] : *languages) {
            out.patch32(entry, language);
            out.patch32(entry + 4, out.size());
            data_entries.emplace_back(out.size(), data);
            out.zeros(16); // IMAGE_RESOURCE_DATA_ENTRY: RVA, size, code page, reserved
            entry += 8;
        }
    }
    for (const auto& [data_entry, data] : data_entries) {
        out.align(8);
        out.patch32(data_entry, section_rva + out.size());
        out.patch32(data_entry + 4, data->size());
        out.raw(*data);
    }
    return out.take();
}

} // namespace

std::string resource_dll(const std::vector<dll_resource>& resources) {
    const std::string section = resource_section(resources);
    const auto section_size = static_cast<std::uint32_t>(section.size());
    byte_writer out;
    write_dos_part(out);
    write_nt_headers(out, section_size);
    out.zeros(headers_size - out.size());
    out.raw(section);
    out.zeros(align_up(section_size, file_alignment) - section_size);
    return out.take();
}

} // namespace product_data
