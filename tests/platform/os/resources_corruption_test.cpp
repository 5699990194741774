#include "platform/os/resources.h"

#include "tests/platform/os/resources_test_support.h"
#include "tests/support/versioned_program.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace os = platform::os;
using os::win32_error;
using qv_test::resource_entry;
using resources_test::code;

namespace {

constexpr std::uint32_t high_bit = 0x80000000;

std::uint64_t get(const std::string& bytes, std::size_t at, int width) {
    std::uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= std::uint64_t{static_cast<unsigned char>(bytes.at(at + i))} << (8 * i);
    return value;
}

void put(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        bytes.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFF);
}

const std::vector<resource_entry> entries{
    {std::wstring(L"PAYLOAD"), std::uint16_t{134}, 0x0409, "the payload"},
};

using mutation = std::function<void(std::string&)>;

struct corruption {
    const char* what;
    mutation damage;
    win32_error error; // success: still loads
};

class resources_corruption : public testing::Test {
protected:
    struct outcome {
        std::error_code error;
        std::string payload; // copied out, so that every byte of it is read
    };

    // Writes the damaged file and loads it.
    outcome load_damaged(std::string bytes, const mutation& damage) {
        damage(bytes);
        qv_test::write_host_file(programs.host_path("app.exe"), bytes);
        auto module = os::load_module_file(programs.windows_path(L"app.exe"));
        if (!module)
            return {module.error(), {}};
        const auto found =
            os::find_resource(**module, std::wstring(L"payload"), std::uint16_t{134});
        return {{}, found ? resources_test::text_of(*found) : std::string()};
    }

    void expect(const std::string& bytes, std::span<const corruption> cases) {
        for (const corruption& c : cases) {
            SCOPED_TRACE(c.what);
            const outcome loaded = load_damaged(bytes, c.damage);
            if (c.error == win32_error::success) {
                EXPECT_FALSE(loaded.error) << loaded.error.message();
                EXPECT_EQ(loaded.payload, "the payload");
            } else {
                EXPECT_EQ(loaded.error, code(c.error));
            }
        }
    }

    // Every shorter file fails as a broken or resource-less program, never crashes. Past the
    // last byte that is not zero, one cut stands for all.
    void expect_truncations_fail(const std::string& bytes) {
        const std::size_t end = bytes.find_last_not_of('\0') + 1;
        for (std::size_t length = 0; length <= std::min(end, bytes.size() - 1); ++length) {
            const auto error =
                load_damaged(bytes, [length](std::string& b) { b.resize(length); }).error;
            EXPECT_TRUE(error == code(win32_error::bad_exe_format) ||
                        error == code(win32_error::resource_data_not_found))
                << "cut at " << length << ": " << error.message();
        }
    }

    // Any byte before the padding set to zero, to the high bit or to all ones either loads or
    // fails as broken, never crashes.
    void expect_overwrites_contained(const std::string& bytes) {
        const std::size_t end = bytes.find_last_not_of('\0') + 1;
        for (const unsigned char value : {0x00, 0x80, 0xFF}) {
            for (std::size_t at = 0; at < end; ++at) {
                const auto error =
                    load_damaged(bytes, [&](std::string& b) { b[at] = value; }).error;
                EXPECT_TRUE(!error || error == code(win32_error::bad_exe_format) ||
                            error == code(win32_error::resource_data_not_found))
                    << "byte " << at << " = " << int{value} << ": " << error.message();
            }
        }
    }

    std::string written(const std::function<void(const std::filesystem::path&)>& write) {
        write(programs.host_path("original"));
        return qv_test::read_host_file(programs.host_path("original"));
    }

    resources_test::program_folder programs;
};

// The file offsets of a PE file's resource tree with one type, one name and one language.
struct pe_tree {
    std::size_t root_entry, type_directory, type_entry, name_directory, language_entry, data_entry;
    std::size_t type_name;
};

pe_tree tree_of(const std::string& file, const qv_test::pe_layout& layout) {
    pe_tree tree{};
    const std::size_t root = layout.resources;
    tree.root_entry = root + 16;
    tree.type_name = root + (get(file, tree.root_entry, 4) & ~high_bit);
    tree.type_directory = root + (get(file, tree.root_entry + 4, 4) & ~high_bit);
    tree.type_entry = tree.type_directory + 16;
    tree.name_directory = root + (get(file, tree.type_entry + 4, 4) & ~high_bit);
    tree.language_entry = tree.name_directory + 16;
    tree.data_entry = root + get(file, tree.language_entry + 4, 4);
    return tree;
}

TEST_F(resources_corruption, broken_pe_headers_and_trees_fail_without_crashing) {
    for (const auto kind : {qv_test::pe_kind::pe32, qv_test::pe_kind::pe32_plus}) {
        SCOPED_TRACE(kind == qv_test::pe_kind::pe32 ? "PE32" : "PE32+");
        qv_test::pe_layout l{};
        const std::string file =
            written([&](const auto& path) { l = qv_test::write_pe_program(path, entries, kind); });
        const pe_tree t = tree_of(file, l);
        const std::size_t resource_directory = l.data_directories + 2 * 8;
        const std::size_t directory_count = l.data_directories - 4;
        const std::size_t section = l.section_table;
        using enum win32_error;
        const corruption cases[] = {
            {"intact", [](std::string&) {}, success},
            {"new header beyond the file", [](auto& b) { put(b, 0x3C, 0xFFFFFF00, 4); },
             bad_exe_format},
            {"no PE signature", [&](auto& b) { b[l.nt_headers] = 'N'; }, bad_exe_format},
            {"unknown optional header", [&](auto& b) { put(b, l.optional_header, 0x107, 2); },
             bad_exe_format},
            {"sections beyond the file", [&](auto& b) { put(b, l.nt_headers + 6, 0xFFFF, 2); },
             bad_exe_format},
            {"optional header beyond the file",
             [&](auto& b) { put(b, l.nt_headers + 20, 0xFFFF, 2); }, bad_exe_format},
            {"optional header without directories",
             [&](auto& b) { put(b, l.nt_headers + 20, 64, 2); }, bad_exe_format},
            {"no resource directory slot", [&](auto& b) { put(b, directory_count, 2, 4); },
             resource_data_not_found},
            {"empty resource directory", [&](auto& b) { put(b, resource_directory, 0, 8); },
             resource_data_not_found},
            {"resources in no section", [&](auto& b) { put(b, resource_directory, 0x8000, 4); },
             bad_exe_format},
            {"section data beyond the file", [&](auto& b) { put(b, section + 20, 0x7FFFFFF0, 4); },
             bad_exe_format},
            {"section larger than the file", [&](auto& b) { put(b, section + 16, 0x7FFFFFF0, 4); },
             bad_exe_format},
            {"too many root entries", [&](auto& b) { put(b, l.resources + 14, 0xFFFF, 2); },
             bad_exe_format},
            {"type directory is the root", [&](auto& b) { put(b, t.root_entry + 4, high_bit, 4); },
             bad_exe_format},
            {"name directory is the root", [&](auto& b) { put(b, t.type_entry + 4, high_bit, 4); },
             bad_exe_format},
            {"data where a type directory belongs",
             [&](auto& b) { put(b, t.root_entry + 4, t.data_entry - l.resources, 4); },
             bad_exe_format},
            {"directory where the data belongs",
             [&](auto& b) { put(b, t.language_entry + 4, high_bit | 0x10000, 4); }, bad_exe_format},
            {"language given by name",
             [&](auto& b) { put(b, t.language_entry, high_bit | 0x409, 4); }, bad_exe_format},
            {"type name beyond the section",
             [&](auto& b) { put(b, t.root_entry, high_bit | 0x7FFFFFF0, 4); }, bad_exe_format},
            {"type name longer than the section", [&](auto& b) { put(b, t.type_name, 0xFFFF, 2); },
             bad_exe_format},
            {"data beyond the image", [&](auto& b) { put(b, t.data_entry, 0x7FFFFFF0, 4); },
             bad_exe_format},
            {"data larger than its section",
             [&](auto& b) { put(b, t.data_entry + 4, 0x7FFFFFF0, 4); }, bad_exe_format},
        };
        expect(file, cases);
        expect_truncations_fail(file);
    }
}

TEST_F(resources_corruption, any_damaged_pe_byte_is_contained) {
    expect_overwrites_contained(
        written([&](const auto& path) { qv_test::write_pe_program(path, entries); }));
}

// The file offset of the header of the section whose contents start where image does.
std::size_t section_header_of(const std::string& file, const std::string& image) {
    const std::size_t contents = file.find(image);
    const std::size_t table = get(file, 0x28, 8);
    const std::size_t count = get(file, 0x3C, 2);
    for (std::size_t index = 0; index < count; ++index) {
        if (get(file, table + index * 64 + 24, 8) == contents)
            return table + index * 64;
    }
    throw std::runtime_error("no such section");
}

TEST_F(resources_corruption, broken_elf_headers_fail_and_extended_counts_are_read) {
    const std::string image = qv_test::res_image(entries);
    const std::string file =
        written([&](const auto& path) { qv_test::write_elf_object(path, "elf64-x86-64", image); });
    const std::size_t rsrc = section_header_of(file, image);
    const std::size_t table = get(file, 0x28, 8);
    const std::size_t count = get(file, 0x3C, 2);
    const std::size_t names = get(file, 0x3E, 2);
    using enum win32_error;
    const corruption cases[] = {
        {"intact", [](std::string&) {}, success},
        {"unknown class", [](auto& b) { b[4] = 3; }, bad_exe_format},
        {"unknown byte order", [](auto& b) { b[5] = 0; }, bad_exe_format},
        {"no section table", [](auto& b) { put(b, 0x28, 0, 8); }, resource_data_not_found},
        {"section table beyond the file", [](auto& b) { put(b, 0x28, 1ull << 62, 8); },
         bad_exe_format},
        {"section headers too small", [](auto& b) { put(b, 0x3A, 16, 2); }, bad_exe_format},
        {"more sections than the file holds", [](auto& b) { put(b, 0x3C, 0xFFFF, 2); },
         bad_exe_format},
        {"section names beyond the table", [&](auto& b) { put(b, 0x3E, count, 2); },
         bad_exe_format},
        {"no section names", [](auto& b) { put(b, 0x3E, 0, 2); }, resource_data_not_found},
        {"section name beyond the names", [&](auto& b) { put(b, rsrc, 0x7FFFFFFF, 4); },
         bad_exe_format},
        {"resources beyond the file", [&](auto& b) { put(b, rsrc + 24, 1ull << 40, 8); },
         bad_exe_format},
        {"resources larger than the file", [&](auto& b) { put(b, rsrc + 32, 1ull << 40, 8); },
         bad_exe_format},
        {"empty resource section", [&](auto& b) { put(b, rsrc + 32, 0, 8); },
         resource_data_not_found},
        {"resource section without contents", [&](auto& b) { put(b, rsrc + 4, 8, 4); },
         bad_exe_format},
        {"section count in the first header",
         [&](auto& b) {
             put(b, 0x3C, 0, 2);
             put(b, table + 32, count, 8);
         },
         success},
        {"names index in the first header",
         [&](auto& b) {
             put(b, 0x3E, 0xFFFF, 2);
             put(b, table + 40, names, 4);
         },
         success},
    };
    expect(file, cases);
}

TEST_F(resources_corruption, truncated_elf_files_fail) {
    const std::string image = qv_test::res_image(entries);
    for (const char* target : {"elf64-x86-64", "elf32-i386"}) {
        SCOPED_TRACE(target);
        expect_truncations_fail(
            written([&](const auto& path) { qv_test::write_elf_object(path, target, image); }));
    }
}

TEST_F(resources_corruption, broken_res_images_fail_and_padding_is_ignored) {
    // The empty entry takes 32 bytes; the payload's header follows.
    constexpr std::size_t entry = 32;
    const std::string image = qv_test::res_image(entries);
    using enum win32_error;
    const corruption cases[] = {
        {"zeros after the last entry", [](auto& b) { b.append(24, '\0'); }, success},
        {"bytes after the last entry", [](auto& b) { b.append("\x01\x02", 2); }, bad_exe_format},
        {"a header larger than the image", [](auto& b) { put(b, entry + 4, 0xFFFFFFF0, 4); },
         bad_exe_format},
        {"a header too small for its names", [](auto& b) { put(b, entry + 4, 12, 4); },
         bad_exe_format},
        {"data larger than the image", [](auto& b) { put(b, entry, 0x7FFFFFFF, 4); },
         bad_exe_format},
        {"an empty first header", [](auto& b) { put(b, 4, 0, 4); }, bad_exe_format},
        {"a type name without its end",
         [](auto& b) {
             const std::size_t header = get(b, entry + 4, 4);
             for (std::size_t at = entry + 8; at < entry + header; at += 2)
                 put(b, at, 'A', 2);
         },
         bad_exe_format},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string damaged = image;
        c.damage(damaged);
        const std::string file = written(
            [&](const auto& path) { qv_test::write_elf_object(path, "elf64-x86-64", damaged); });
        const corruption as_written{c.what, [](std::string&) {}, c.error};
        expect(file, std::span(&as_written, 1));
    }
}

} // namespace
