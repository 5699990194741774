#include "tests/support/versioned_program.h"

#include "tests/support/temp_machine.h"

#include <algorithm>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

namespace qv_test {
namespace fs = std::filesystem;
namespace {

// Little-endian output with fields patched in afterwards.
class bytes_out {
public:
    void u16(std::uint32_t value) { put(value, 2); }
    void u32(std::uint64_t value) { put(value, 4); }
    void u64(std::uint64_t value) { put(value, 8); }
    void raw(std::string_view bytes) { out_.append(bytes); }
    void align(std::size_t boundary) {
        while (out_.size() % boundary != 0)
            out_.push_back('\0');
    }
    void patch16(std::size_t at, std::uint32_t value) { patch(at, value, 2); }
    void patch32(std::size_t at, std::uint64_t value) { patch(at, value, 4); }
    std::size_t size() const { return out_.size(); }
    std::string take() { return std::move(out_); }

private:
    void put(std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void patch(std::size_t at, std::uint64_t value, int width) {
        for (int i = 0; i < width; ++i)
            out_.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    std::string out_;
};

void put_res_name(bytes_out& out, const resource_name& name) {
    if (const auto* ordinal = std::get_if<std::uint16_t>(&name)) {
        out.u16(0xFFFF);
        out.u16(*ordinal);
        return;
    }
    out.raw(utf16le(std::get<std::wstring>(name)));
    out.u16(0);
}

void put_res_entry(bytes_out& out, const resource_entry& entry) {
    const std::size_t start = out.size();
    out.u32(entry.data.size());
    out.u32(0); // HeaderSize, below
    put_res_name(out, entry.type);
    put_res_name(out, entry.name);
    out.align(4);
    out.u32(0);      // DataVersion
    out.u16(0x1030); // MemoryFlags: moveable, pure, discardable
    out.u16(entry.language);
    out.u32(0); // Version
    out.u32(0); // Characteristics
    out.patch32(start + 4, out.size() - start);
    out.raw(entry.data);
    out.align(4);
}

// A node of a version block: header, key, value, then the children, each on 4 bytes.
std::string version_node(std::wstring_view key, std::uint16_t type, std::string_view value,
                         std::uint16_t value_length, const std::vector<std::string>& children) {
    bytes_out out;
    out.u16(0); // wLength, below
    out.u16(value_length);
    out.u16(type);
    out.raw(utf16le(key));
    out.u16(0);
    out.align(4);
    out.raw(value);
    for (const std::string& child : children) {
        out.align(4);
        out.raw(child);
    }
    out.patch16(0, static_cast<std::uint32_t>(out.size()));
    return out.take();
}

constexpr std::uint16_t text = 1;
constexpr std::uint16_t binary = 0;

std::string fixed_file_info(const version_description& version) {
    const auto& file = version.file_version;
    const auto& product = version.product_version;
    bytes_out out;
    out.u32(0xFEEF04BD);
    out.u32(0x00010000);
    out.u32(std::uint32_t{file[0]} << 16 | file[1]);
    out.u32(std::uint32_t{file[2]} << 16 | file[3]);
    out.u32(std::uint32_t{product[0]} << 16 | product[1]);
    out.u32(std::uint32_t{product[2]} << 16 | product[3]);
    out.u32(version.file_flags_mask);
    out.u32(version.file_flags);
    out.u32(version.file_os);
    out.u32(version.file_type);
    out.u32(version.file_subtype);
    out.u32(0);
    out.u32(0);
    return out.take();
}

// The resource tree of a PE file: type -> name -> language, names before ordinals at each level.
struct language_leaf {
    std::uint16_t language;
    const std::string* data;
};
struct name_group {
    resource_name name;
    std::vector<language_leaf> languages;
};
struct type_group {
    resource_name type;
    std::vector<name_group> names;
};

bool is_named(const resource_name& id) {
    return std::holds_alternative<std::wstring>(id);
}

template <class Group> void sort_names_first(std::vector<Group>& groups, resource_name Group::*id) {
    std::stable_sort(groups.begin(), groups.end(), [id](const Group& a, const Group& b) {
        return is_named(a.*id) != is_named(b.*id) ? is_named(a.*id) : a.*id < b.*id;
    });
}

std::vector<type_group> group_entries(const std::vector<resource_entry>& entries) {
    std::vector<type_group> types;
    for (const resource_entry& entry : entries) {
        auto type = std::find_if(types.begin(), types.end(),
                                 [&](const type_group& g) { return g.type == entry.type; });
        if (type == types.end())
            type = types.insert(types.end(), type_group{entry.type, {}});
        auto name = std::find_if(type->names.begin(), type->names.end(),
                                 [&](const name_group& g) { return g.name == entry.name; });
        if (name == type->names.end())
            name = type->names.insert(type->names.end(), name_group{entry.name, {}});
        name->languages.push_back({entry.language, &entry.data});
    }
    sort_names_first(types, &type_group::type);
    for (type_group& type : types) {
        sort_names_first(type.names, &name_group::name);
        for (name_group& name : type.names)
            std::stable_sort(name.languages.begin(), name.languages.end(),
                             [](const language_leaf& a, const language_leaf& b) {
                                 return a.language < b.language;
                             });
    }
    return types;
}

constexpr std::uint32_t high_bit = 0x80000000;

// Writes the directories breadth first, then the data entries, the names and the data.
std::string resource_section(const std::vector<resource_entry>& entries,
                             std::uint32_t section_rva) {
    const auto types = group_entries(entries);
    bytes_out out;
    std::vector<std::pair<std::size_t, const std::wstring*>> named_entries;
    auto directory = [&](std::size_t named, std::size_t ids) {
        const std::size_t start = out.size();
        out.u32(0); // Characteristics
        out.u32(0); // TimeDateStamp
        out.u32(0); // MajorVersion, MinorVersion
        out.u16(named);
        out.u16(ids);
        for (std::size_t i = 0; i < named + ids; ++i)
            out.u64(0);
        return start + 16;
    };
    auto count_named = [](const auto& groups, auto id) {
        return static_cast<std::size_t>(std::count_if(
            groups.begin(), groups.end(), [&](const auto& g) { return is_named(g.*id); }));
    };
    auto set_id = [&](std::size_t entry, const resource_name& id) {
        if (const auto* ordinal = std::get_if<std::uint16_t>(&id))
            out.patch32(entry, *ordinal);
        else
            named_entries.emplace_back(entry, &std::get<std::wstring>(id));
    };

    const std::size_t named_types = count_named(types, &type_group::type);
    const std::size_t root = directory(named_types, types.size() - named_types);
    std::vector<std::size_t> type_entries;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const auto& names = types[t].names;
        const std::size_t named = count_named(names, &name_group::name);
        set_id(root + 8 * t, types[t].type);
        out.patch32(root + 8 * t + 4, high_bit | out.size());
        type_entries.push_back(directory(named, names.size() - named));
    }
    std::vector<std::pair<std::size_t, const language_leaf*>> leaves;
    for (std::size_t t = 0; t < types.size(); ++t) {
        for (std::size_t n = 0; n < types[t].names.size(); ++n) {
            const name_group& name = types[t].names[n];
            set_id(type_entries[t] + 8 * n, name.name);
            out.patch32(type_entries[t] + 8 * n + 4, high_bit | out.size());
            const std::size_t languages = directory(0, name.languages.size());
            for (std::size_t l = 0; l < name.languages.size(); ++l)
                leaves.emplace_back(languages + 8 * l, &name.languages[l]);
        }
    }
    std::vector<std::pair<std::size_t, const std::string*>> data_entries;
    for (const auto& [entry, leaf] : leaves) {
        out.patch32(entry, leaf->language);
        out.patch32(entry + 4, out.size());
        data_entries.emplace_back(out.size(), leaf->data);
        out.u32(0); // OffsetToData, below
        out.u32(leaf->data->size());
        out.u32(0); // CodePage
        out.u32(0); // Reserved
    }
    for (const auto& [entry, name] : named_entries) {
        out.patch32(entry, high_bit | out.size());
        const std::string units = utf16le(*name);
        out.u16(units.size() / 2);
        out.raw(units);
    }
    for (const auto& [entry, data] : data_entries) {
        out.align(8);
        out.patch32(entry, section_rva + out.size());
        out.raw(*data);
    }
    return out.take();
}

constexpr std::uint32_t align_up(std::uint64_t value, std::uint32_t boundary) {
    return static_cast<std::uint32_t>((value + boundary - 1) / boundary * boundary);
}

void run_objcopy(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"objcopy"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : command)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (::posix_spawnp(&child, "objcopy", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot start objcopy");
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("objcopy failed");
}

// The image in a file next to file, removed again when done.
class image_file {
public:
    image_file(const fs::path& file, const std::string& image) : path_(file.string() + ".rsrc") {
        write_host_file(path_, image);
    }
    ~image_file() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    image_file(const image_file&) = delete;
    image_file& operator=(const image_file&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

std::string utf16le(std::wstring_view text) {
    std::string bytes;
    auto unit = [&](std::uint32_t u) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    };
    for (const wchar_t c : text) {
        const auto code = static_cast<std::uint32_t>(c);
        if (code > 0xFFFF) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return bytes;
}

std::string res_image(const std::vector<resource_entry>& entries) {
    bytes_out out;
    put_res_entry(out, {std::uint16_t{0}, std::uint16_t{0}, 0, {}});
    for (const resource_entry& entry : entries)
        put_res_entry(out, entry);
    return out.take();
}

std::string string_block(const std::map<int, std::wstring>& slots) {
    bytes_out out;
    for (int slot = 0; slot < 16; ++slot) {
        const auto found = slots.find(slot);
        const std::wstring text = found == slots.end() ? std::wstring() : found->second;
        out.u16(utf16le(text).size() / 2);
        out.raw(utf16le(text));
    }
    return out.take();
}

std::string version_block(const version_description& version) {
    std::vector<std::string> strings;
    for (const auto& [key, value] : version.strings) {
        const std::string units = utf16le(value) + std::string(2, '\0');
        strings.push_back(version_node(key, text, units, units.size() / 2, {}));
    }
    bytes_out translations;
    for (const auto& [language, code_page] : version.translations) {
        translations.u16(language);
        translations.u16(code_page);
    }
    const std::string translation_bytes = translations.take();
    const std::string string_info = version_node(
        L"StringFileInfo", text, {}, 0, {version_node(version.table, text, {}, 0, strings)});
    const std::string var_info = version_node(
        L"VarFileInfo", text, {}, 0,
        {version_node(L"Translation", binary, translation_bytes, translation_bytes.size(), {})});
    const std::string fixed = fixed_file_info(version);
    return version_node(L"VS_VERSION_INFO", binary, fixed, fixed.size(), {string_info, var_info});
}

resource_entry version_resource(const version_description& version) {
    return {std::uint16_t{16}, std::uint16_t{1}, 0, version_block(version)};
}

pe_layout write_pe_program(const fs::path& file, const std::vector<resource_entry>& entries,
                           pe_kind kind) {
    constexpr std::uint32_t section_rva = 0x1000;
    constexpr std::uint32_t file_alignment = 0x200;
    constexpr std::uint32_t section_alignment = 0x1000;
    constexpr std::size_t nt_headers = 0x40;
    const bool wide = kind == pe_kind::pe32_plus;
    const std::uint16_t optional_size = wide ? 240 : 224;
    const std::string section =
        entries.empty() ? std::string() : resource_section(entries, section_rva);
    const std::uint32_t raw_size = align_up(section.size(), file_alignment);
    const std::uint16_t section_count = entries.empty() ? 0 : 1;

    bytes_out out;
    out.raw("MZ");
    while (out.size() < 0x3C)
        out.u16(0);
    out.u32(nt_headers);

    out.raw(std::string_view("PE\0\0", 4));
    out.u16(wide ? 0x8664 : 0x14C); // Machine
    out.u16(section_count);
    out.u32(0); // TimeDateStamp
    out.u32(0); // PointerToSymbolTable
    out.u32(0); // NumberOfSymbols
    out.u16(optional_size);
    out.u16(wide ? 0x0022 : 0x0102); // executable; large addresses or 32-bit machine

    const std::size_t optional_header = out.size();
    out.u16(wide ? 0x20B : 0x10B);
    out.u16(14);          // linker version
    out.u32(0);           // SizeOfCode
    out.u32(raw_size);    // SizeOfInitializedData
    out.u32(0);           // SizeOfUninitializedData
    out.u32(0);           // AddressOfEntryPoint
    out.u32(section_rva); // BaseOfCode
    if (wide) {
        out.u64(0x140000000);
    } else {
        out.u32(section_rva); // BaseOfData
        out.u32(0x400000);
    }
    out.u32(section_alignment);
    out.u32(file_alignment);
    out.u32(6); // operating system version 6.0
    out.u32(0); // image version
    out.u32(6); // subsystem version 6.0
    out.u32(0); // Win32VersionValue
    out.u32(section_rva + align_up(section.size(), section_alignment)); // SizeOfImage
    out.u32(file_alignment);                                            // SizeOfHeaders
    out.u32(0);                                                         // CheckSum
    out.u16(2);                                                         // Windows GUI
    out.u16(0x8140);            // terminal-server aware, NX compatible, dynamic base
    for (int i = 0; i < 4; ++i) // stack and heap reserve and commit
        wide ? out.u64(0x100000) : out.u32(0x100000);
    out.u32(0);  // LoaderFlags
    out.u32(16); // NumberOfRvaAndSizes
    const std::size_t data_directories = out.size();
    for (int i = 0; i < 16; ++i) {
        const bool resources = i == 2 && !entries.empty();
        out.u32(resources ? section_rva : 0);
        out.u32(resources ? section.size() : 0);
    }

    const std::size_t section_table = out.size();
    if (section_count != 0) {
        out.raw(std::string_view(".rsrc\0\0\0", 8));
        out.u32(section.size()); // VirtualSize
        out.u32(section_rva);
        out.u32(raw_size);
        out.u32(file_alignment); // PointerToRawData
        out.u32(0);              // PointerToRelocations
        out.u32(0);              // PointerToLinenumbers
        out.u32(0);              // relocation and line number counts
        out.u32(0x40000040);     // initialized data, readable
    }
    out.align(file_alignment);
    out.raw(section);
    out.align(file_alignment);

    const pe_layout layout{nt_headers,
                           optional_header,
                           data_directories,
                           section_table,
                           entries.empty() ? 0 : file_alignment,
                           out.size()};
    write_host_file(file, out.take());
    return layout;
}

void write_elf_program(const fs::path& file, const fs::path& program, const std::string& image) {
    const image_file section(file, image);
    // Added after linking, the section is outside the loaded segments: contents only.
    run_objcopy({"--remove-section", ".rsrc", "--add-section", ".rsrc=" + section.path().string(),
                 "--set-section-flags", ".rsrc=contents,readonly", program.string(),
                 file.string()});
}

void write_elf_object(const fs::path& file, std::string_view target, const std::string& image) {
    const image_file section(file, image);
    run_objcopy({"--input-target", "binary", "--output-target", std::string(target),
                 "--rename-section", ".data=.rsrc", section.path().string(), file.string()});
}

fs::path own_program() {
    return fs::read_symlink("/proc/self/exe");
}

void write_versioned_program(const fs::path& file, const version_description& version,
                             program_format format) {
    const std::vector<resource_entry> entries{version_resource(version)};
    switch (format) {
    case program_format::elf:
        write_elf_program(file, own_program(), res_image(entries));
        break;
    case program_format::pe32:
        write_pe_program(file, entries, pe_kind::pe32);
        break;
    case program_format::pe32_plus:
        write_pe_program(file, entries, pe_kind::pe32_plus);
        break;
    }
}

} // namespace qv_test
