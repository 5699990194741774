#include "platform/os/elf_resources.h"

#include "platform/os/binary_view.h"
#include "platform/os/module_file.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace platform::os {
namespace {

constexpr auto broken = win32_error::bad_exe_format;
constexpr std::array<std::byte, 4> elf_magic{std::byte{0x7F}, std::byte{'E'}, std::byte{'L'},
                                             std::byte{'F'}};
constexpr std::string_view resource_section_name = ".rsrc";

// Where the fields the search needs sit, in the two classes of ELF files.
struct elf_layout {
    std::uint64_t header_size;
    std::uint64_t section_header_size;
    bool wide; // 64-bit addresses and sizes
    std::uint64_t shoff, shentsize, shnum, shstrndx;
    std::uint64_t sh_type, sh_offset, sh_size, sh_link;
};
constexpr elf_layout elf32{52, 40, false, 0x20, 0x2E, 0x30, 0x32, 4, 16, 20, 24};
constexpr elf_layout elf64{64, 64, true, 0x28, 0x3A, 0x3C, 0x3E, 4, 24, 32, 40};

constexpr std::uint32_t sht_nobits = 8;
constexpr std::uint16_t shn_xindex = 0xFFFF;

struct section_header {
    std::uint32_t name;
    std::uint32_t type;
    std::uint64_t offset;
    std::uint64_t size;
    std::uint32_t link;
};

class elf_reader {
public:
    explicit elf_reader(module_file& file) : file_(file) {}

    std::vector<std::byte> resource_section();

private:
    std::uint64_t address(const binary_view& view, std::uint64_t offset) const {
        return layout_->wide ? view.u64(offset) : view.u32(offset);
    }
    section_header read_section_header(const binary_view& table, std::uint64_t index) const;
    std::vector<std::byte> contents(const section_header& section);

    module_file& file_;
    const elf_layout* layout_ = nullptr;
    std::endian order_ = std::endian::little;
    std::uint64_t entry_size_ = 0;
};

section_header elf_reader::read_section_header(const binary_view& table,
                                               std::uint64_t index) const {
    const std::uint64_t at = index * entry_size_;
    return {table.u32(at), table.u32(at + layout_->sh_type),
            address(table, at + layout_->sh_offset), address(table, at + layout_->sh_size),
            table.u32(at + layout_->sh_link)};
}

std::vector<std::byte> elf_reader::contents(const section_header& section) {
    if (section.type == sht_nobits)
        throw binary_format_error(broken);
    return file_.read(section.offset, section.size);
}

std::vector<std::byte> elf_reader::resource_section() {
    const auto ident = file_.read(0, std::min<std::uint64_t>(file_.size(), 16));
    const binary_view ident_view(ident, broken);
    switch (ident_view.u8(4)) {
    case 1:
        layout_ = &elf32;
        break;
    case 2:
        layout_ = &elf64;
        break;
    default:
        ident_view.fail();
    }
    switch (ident_view.u8(5)) {
    case 1:
        order_ = std::endian::little;
        break;
    case 2:
        order_ = std::endian::big;
        break;
    default:
        ident_view.fail();
    }

    const auto header_bytes = file_.read(0, layout_->header_size);
    const binary_view header(header_bytes, broken, order_);
    const std::uint64_t table_offset = address(header, layout_->shoff);
    entry_size_ = header.u16(layout_->shentsize);
    std::uint64_t count = header.u16(layout_->shnum);
    std::uint64_t names_index = header.u16(layout_->shstrndx);
    constexpr std::uint16_t shn_undef = 0;
    if (table_offset == 0 || names_index == shn_undef)
        throw binary_format_error(win32_error::resource_data_not_found);
    if (entry_size_ < layout_->section_header_size)
        header.fail();

    // Files with very many sections keep the real counts in the first section header.
    const auto first_bytes = file_.read(table_offset, entry_size_);
    const section_header first = read_section_header(binary_view(first_bytes, broken, order_), 0);
    if (count == 0)
        count = first.size;
    if (names_index == shn_xindex)
        names_index = first.link;
    if (count > (file_.size() - table_offset) / entry_size_ || names_index >= count)
        header.fail();

    const auto table_bytes = file_.read(table_offset, count * entry_size_);
    const binary_view table(table_bytes, broken, order_);
    const auto names_bytes = contents(read_section_header(table, names_index));
    const std::string_view names(reinterpret_cast<const char*>(names_bytes.data()),
                                 names_bytes.size());

    for (std::uint64_t index = 0; index < count; ++index) {
        const section_header section = read_section_header(table, index);
        if (section.name >= names.size())
            header.fail();
        const auto name_end = names.find('\0', section.name);
        if (name_end == std::string_view::npos)
            header.fail();
        if (names.substr(section.name, name_end - section.name) != resource_section_name)
            continue;
        if (section.size == 0)
            break;
        return contents(section);
    }
    throw binary_format_error(win32_error::resource_data_not_found);
}

} // namespace

bool has_elf_signature(std::span<const std::byte> head) {
    return head.size() >= elf_magic.size() &&
           std::equal(elf_magic.begin(), elf_magic.end(), head.begin());
}

std::vector<std::byte> read_elf_resource_section(module_file& file) {
    return elf_reader(file).resource_section();
}

} // namespace platform::os
