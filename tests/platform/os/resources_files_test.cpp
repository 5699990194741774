#include "platform/os/files.h"
#include "platform/os/resources.h"

#include "tests/platform/os/resources_test_support.h"
#include "tests/support/versioned_program.h"

#include <gtest/gtest.h>

namespace os = platform::os;
using os::win32_error;
using qv_test::resource_entry;
using resources_test::code;
using resources_test::text_of;

namespace {

const std::vector<resource_entry> sample_entries{
    {std::uint16_t{24}, std::uint16_t{1}, 0, "<assembly/>"},
    {std::wstring(L"Payload"), std::wstring(L"Main"), 0x0409, "payload bytes"},
    {std::uint16_t{260}, std::uint16_t{134}, 0x0407, "deutsch"},
    {std::uint16_t{260}, std::uint16_t{134}, 0x0409, "english"},
    {std::uint16_t{260}, std::wstring(L"\U0001D11E clef"), 0x040C, "clef"},
    {std::uint16_t{10}, std::uint16_t{7}, 0, std::string("\0\x01\x02\xFF", 4)},
};

enum class container { elf_program, elf64_object, elf32_object, elf64_big_object, pe32, pe32_plus };

struct container_case {
    container kind;
    const char* name;
};

const container_case containers[] = {
    {container::elf_program, "ELF program"},
    {container::elf64_object, "ELF64 object"},
    {container::elf32_object, "ELF32 object"},
    {container::elf64_big_object, "big-endian ELF64 object"},
    {container::pe32, "PE32"},
    {container::pe32_plus, "PE32+"},
};

void write_container(container kind, const std::filesystem::path& file,
                     const std::vector<resource_entry>& entries) {
    switch (kind) {
    case container::elf_program:
        return qv_test::write_elf_program(file, qv_test::own_program(),
                                          qv_test::res_image(entries));
    case container::elf64_object:
        return qv_test::write_elf_object(file, "elf64-x86-64", qv_test::res_image(entries));
    case container::elf32_object:
        return qv_test::write_elf_object(file, "elf32-i386", qv_test::res_image(entries));
    case container::elf64_big_object:
        return qv_test::write_elf_object(file, "elf64-big", qv_test::res_image(entries));
    case container::pe32:
        qv_test::write_pe_program(file, entries, qv_test::pe_kind::pe32);
        return;
    case container::pe32_plus:
        qv_test::write_pe_program(file, entries, qv_test::pe_kind::pe32_plus);
        return;
    }
}

class resources_files : public testing::Test {
protected:
    std::shared_ptr<const os::resource_module> load(container kind,
                                                    const std::vector<resource_entry>& entries) {
        write_container(kind, programs.host_path("app.exe"), entries);
        auto module = os::load_module_file(programs.windows_path(L"app.exe"));
        EXPECT_TRUE(module) << module.error().message();
        return module ? *module : nullptr;
    }

    resources_test::program_folder programs;
};

TEST_F(resources_files, every_container_gives_each_resource_by_type_name_and_language) {
    for (const auto& c : containers) {
        SCOPED_TRACE(c.name);
        const auto module = load(c.kind, sample_entries);
        ASSERT_TRUE(module);
        for (const auto& entry : sample_entries) {
            std::visit(
                [&](const auto& type, const auto& name) {
                    const auto found = os::find_resource(*module, type, name, entry.language);
                    ASSERT_TRUE(found);
                    EXPECT_EQ(text_of(*found), entry.data);
                },
                entry.type, entry.name);
        }
    }
}

TEST_F(resources_files, names_compare_without_case_and_missing_ones_are_none) {
    for (const auto& c : containers) {
        SCOPED_TRACE(c.name);
        const auto module = load(c.kind, sample_entries);
        ASSERT_TRUE(module);
        const auto upper =
            os::find_resource(*module, std::wstring(L"PAYLOAD"), std::wstring(L"main"));
        ASSERT_TRUE(upper);
        EXPECT_EQ(text_of(*upper), "payload bytes");
        EXPECT_FALSE(os::find_resource(*module, std::wstring(L"Payload"), std::wstring(L"Other")));
        EXPECT_FALSE(os::find_resource(*module, std::wstring(L"Payloads"), std::wstring(L"Main")));
        // An ordinal never matches a name that spells it.
        EXPECT_FALSE(os::find_resource(*module, std::wstring(L"260"), std::uint16_t{134}));
        EXPECT_FALSE(os::find_resource(*module, std::uint16_t{261}, std::uint16_t{134}));
        EXPECT_FALSE(os::find_resource(*module, std::uint16_t{260}, std::uint16_t{135}));
        EXPECT_FALSE(os::find_resource(*module, std::uint16_t{260}, std::uint16_t{134}, 0x040C));
        // The empty entry that starts a .res image is no resource.
        EXPECT_FALSE(os::find_resource(*module, std::uint16_t{0}, std::uint16_t{0}));
    }
}

struct preference_case {
    std::vector<std::uint16_t> languages;
    std::uint16_t chosen;
};

TEST_F(resources_files, without_a_language_neutral_then_english_then_the_first_is_found) {
    const preference_case cases[] = {
        {{0x0407, 0x0409}, 0x0409}, {{0x0407, 0x0809}, 0x0809}, {{0x0809, 0x0409}, 0x0409},
        {{0x040C, 0x0407}, 0x0407}, {{0x0409, 0x0000}, 0x0000}, {{0x0409, 0x0400}, 0x0400},
        {{0x0400, 0x0000}, 0x0000}, {{0x0419}, 0x0419},
    };
    for (const auto& c : cases) {
        std::vector<resource_entry> entries;
        for (const std::uint16_t language : c.languages)
            entries.push_back(
                {std::uint16_t{6}, std::uint16_t{1}, language, std::to_string(language)});
        SCOPED_TRACE(testing::Message() << "expecting " << c.chosen);
        const auto module = load(container::pe32_plus, entries);
        ASSERT_TRUE(module);
        const auto found = os::find_resource(*module, std::uint16_t{6}, std::uint16_t{1});
        ASSERT_TRUE(found);
        EXPECT_EQ(text_of(*found), std::to_string(c.chosen));
    }
}

TEST_F(resources_files, strings_come_from_their_block_of_sixteen) {
    std::string truncated = qv_test::string_block({{0, L"kept"}, {1, L"cut short"}});
    truncated.resize(truncated.size() - 30);
    const std::vector<resource_entry> entries{
        {std::uint16_t{6}, std::uint16_t{1}, 0x0409,
         qv_test::string_block({{0, L"Zero"}, {15, L"Fifteen"}, {3, L"\U0001D11E clef"}})},
        {std::uint16_t{6}, std::uint16_t{2}, 0x0409, qv_test::string_block({{0, L"Sixteen"}})},
        {std::uint16_t{6}, std::uint16_t{2}, 0x040C, qv_test::string_block({{0, L"Seize"}})},
        {std::uint16_t{6}, std::uint16_t{4096}, 0x0409, qv_test::string_block({{15, L"Last"}})},
        {std::uint16_t{6}, std::uint16_t{5}, 0x0409, truncated},
    };
    struct string_case {
        std::uint32_t id;
        std::optional<std::uint16_t> language;
        std::wstring text;
    };
    const string_case cases[] = {
        {0, {}, L"Zero"},       {1, {}, L""},          {3, {}, L"\U0001D11E clef"},
        {15, {}, L"Fifteen"},   {16, {}, L"Sixteen"},  {16, 0x0409, L"Sixteen"},
        {16, 0x040C, L"Seize"}, {0, 0x040C, L""},      {17, {}, L""},
        {32, {}, L""},          {0xFFFF, {}, L"Last"}, {0x1000F, {}, L""},
        {64, {}, L"kept"},      {65, {}, L""},         {79, {}, L""},
    };
    for (const auto& c : containers) {
        SCOPED_TRACE(c.name);
        const auto module = load(c.kind, entries);
        ASSERT_TRUE(module);
        for (const auto& s : cases) {
            SCOPED_TRACE(testing::Message() << "id " << s.id);
            EXPECT_EQ(os::load_string(*module, s.id, s.language), s.text);
        }
    }
}

TEST_F(resources_files, resources_outlive_the_file_they_came_from) {
    const auto module = load(container::pe32, sample_entries);
    ASSERT_TRUE(module);
    const auto found = os::find_resource(*module, std::uint16_t{260}, std::uint16_t{134}, 0x0407);
    ASSERT_TRUE(found);
    ASSERT_FALSE(os::delete_file(programs.windows_path(L"app.exe")));
    EXPECT_EQ(text_of(*found), "deutsch");
}

TEST_F(resources_files, a_program_without_resources_has_none) {
    const std::vector<resource_entry> none;
    write_container(container::pe32_plus, programs.host_path("plain.exe"), none);
    write_container(container::elf64_object, programs.host_path("empty.o"), none);
    std::filesystem::copy_file(qv_test::own_program(), programs.host_path("plain"));
    const struct {
        const wchar_t* name;
        bool loads;
    } cases[] = {
        {L"plain.exe", false},
        {L"plain", false},
        // An image holding only its empty entry is a module with no resources.
        {L"empty.o", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.name));
        const auto module = os::load_module_file(programs.windows_path(c.name));
        if (!c.loads) {
            EXPECT_EQ(module.error(), code(win32_error::resource_data_not_found));
            continue;
        }
        ASSERT_TRUE(module) << module.error().message();
        EXPECT_FALSE(os::find_resource(**module, std::uint16_t{16}, std::uint16_t{1}));
        EXPECT_EQ(os::load_string(**module, 0), L"");
    }
}

TEST_F(resources_files, files_that_are_no_programs_or_cannot_be_opened_fail_as_windows) {
    qv_test::write_host_file(programs.host_path("notes.txt"), "Just some text, long enough.");
    qv_test::write_host_file(programs.host_path("empty.exe"), "");
    qv_test::write_host_file(programs.host_path("dos.exe"), "MZ");
    qv_test::write_host_file(programs.host_path("elf.bin"), "\x7F"
                                                            "ELF");
    std::filesystem::create_directories(programs.host_path("folder.exe"));
    write_container(container::pe32, programs.host_path("locked.exe"), sample_entries);
    const auto locked =
        os::create_file(programs.windows_path(L"locked.exe"), os::file_access::generic_read,
                        os::file_share::none, os::creation::open_existing);
    ASSERT_TRUE(locked);

    const struct {
        const wchar_t* name;
        win32_error error;
    } cases[] = {
        {L"notes.txt", win32_error::bad_exe_format},
        {L"empty.exe", win32_error::bad_exe_format},
        {L"dos.exe", win32_error::bad_exe_format},
        {L"elf.bin", win32_error::bad_exe_format},
        {L"missing.exe", win32_error::file_not_found},
        {L"folder.exe", win32_error::access_denied},
        {L"locked.exe", win32_error::sharing_violation},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.name));
        EXPECT_EQ(os::load_module_file(programs.windows_path(c.name)).error(), code(c.error));
    }
    EXPECT_EQ(os::load_module_file(L"C:\\Missing\\app.exe").error(),
              code(win32_error::path_not_found));
}

TEST(own_module_without_resources, is_empty) {
    EXPECT_FALSE(os::find_resource(os::own_module(), std::uint16_t{16}, std::uint16_t{1}));
    EXPECT_FALSE(os::find_resource(os::own_module(), std::uint16_t{24}, std::uint16_t{1}));
    EXPECT_EQ(os::load_string(os::own_module(), 0), L"");
}

} // namespace
