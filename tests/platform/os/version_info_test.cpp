#include "platform/os/version_info.h"

#include "tests/platform/os/resources_test_support.h"
#include "tests/support/versioned_program.h"

#include <gtest/gtest.h>

namespace os = platform::os;
using resources_test::text_of;

namespace {

qv_test::version_description sample_version() {
    qv_test::version_description version;
    version.file_version = {1, 2, 3, 4};
    version.product_version = {5, 6, 7, 8};
    version.file_flags_mask = 0x3F;
    version.file_flags = 0x2;
    version.file_os = 0x40004;
    version.file_type = 2;
    version.file_subtype = 0;
    version.table = L"040c04b0";
    version.strings = {{L"CompanyName", L"Quorvane"},
                       {L"FileVersion", L"1.2.3.4"},
                       {L"Empty", L""},
                       {L"Clef", L"\U0001D11E"}};
    version.translations = {{0x040C, 1200}, {0x0409, 1252}};
    return version;
}

std::span<const std::byte> bytes_of(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::optional<std::string> query(const std::string& block, std::wstring_view sub_block) {
    const auto value = os::ver_query_value(bytes_of(block), sub_block);
    if (!value)
        return std::nullopt;
    return text_of(*value);
}

std::string units(std::wstring_view text) {
    return qv_test::utf16le(text);
}

// The offset of the node whose key is key: its header comes just before the key.
std::size_t node_of(const std::string& block, std::wstring_view key) {
    return block.find(units(key) + std::string(2, '\0')) - 6;
}

void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<char>(value & 0xFF);
    bytes.at(at + 1) = static_cast<char>(value >> 8);
}

TEST(version_info, queries_find_the_fixed_info_translations_and_strings_without_case) {
    const std::string block = qv_test::version_block(sample_version());
    const struct {
        const wchar_t* sub_block;
        std::optional<std::string> value;
    } cases[] = {
        {L"\\VarFileInfo\\Translation", std::string("\x0C\x04\xB0\x04\x09\x04\xE4\x04", 8)},
        {L"\\varfileinfo\\TRANSLATION", std::string("\x0C\x04\xB0\x04\x09\x04\xE4\x04", 8)},
        {L"\\StringFileInfo\\040c04b0\\CompanyName", units(L"Quorvane")},
        {L"\\STRINGFILEINFO\\040C04B0\\companyname", units(L"Quorvane")},
        {L"StringFileInfo\\040c04b0\\FileVersion", units(L"1.2.3.4")},
        {L"\\\\StringFileInfo\\\\040c04b0\\FileVersion\\", units(L"1.2.3.4")},
        {L"\\StringFileInfo\\040c04b0\\Empty", std::string()},
        {L"\\StringFileInfo\\040c04b0\\Clef", units(L"\U0001D11E")},
        {L"\\StringFileInfo\\040c04b0\\Missing", std::nullopt},
        {L"\\StringFileInfo\\040904b0\\CompanyName", std::nullopt},
        {L"\\StringFileInfo\\040c04b0\\CompanyName\\More", std::nullopt},
        {L"\\StringFileInfo\\040c04b0\\Company", std::nullopt},
        {L"\\VarFileInfo\\Translations", std::nullopt},
        {L"\\Nothing", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(c.sub_block));
        EXPECT_EQ(query(block, c.sub_block), c.value);
    }
    EXPECT_EQ(os::ver_query_string(bytes_of(block), L"\\StringFileInfo\\040c04b0\\Clef"),
              L"\U0001D11E");
    EXPECT_EQ(os::ver_query_string(bytes_of(block), L"\\StringFileInfo\\040c04b0\\None"),
              std::nullopt);
}

TEST(version_info, the_root_gives_the_fixed_file_info) {
    const std::string block = qv_test::version_block(sample_version());
    for (const wchar_t* root : {L"\\", L""}) {
        const auto value = os::ver_query_value(bytes_of(block), root);
        ASSERT_TRUE(value);
        ASSERT_EQ(value->size(), os::fixed_file_info_size);
        const auto fixed = os::read_fixed_file_info(*value);
        ASSERT_TRUE(fixed);
        EXPECT_EQ(fixed->signature, os::fixed_file_info_signature);
        EXPECT_EQ(fixed->struc_version, 0x00010000u);
        EXPECT_EQ(fixed->file_version_ms, 0x00010002u);
        EXPECT_EQ(fixed->file_version_ls, 0x00030004u);
        EXPECT_EQ(fixed->product_version_ms, 0x00050006u);
        EXPECT_EQ(fixed->product_version_ls, 0x00070008u);
        EXPECT_EQ(fixed->file_flags_mask, 0x3Fu);
        EXPECT_EQ(fixed->file_flags, 0x2u);
        EXPECT_EQ(fixed->file_os, 0x40004u);
        EXPECT_EQ(fixed->file_type, 2u);
        EXPECT_EQ(fixed->file_subtype, 0u);
    }
}

TEST(version_info, fixed_file_info_needs_its_size_and_signature) {
    std::string fixed = qv_test::version_block(sample_version()).substr(40, 52);
    ASSERT_TRUE(os::read_fixed_file_info(bytes_of(fixed)));
    EXPECT_FALSE(os::read_fixed_file_info(bytes_of(fixed.substr(0, 51))));
    fixed[0] = 0;
    EXPECT_FALSE(os::read_fixed_file_info(bytes_of(fixed)));
}

TEST(version_info, malformed_blocks_answer_what_they_hold_and_never_loop) {
    const std::string intact = qv_test::version_block(sample_version());
    const std::wstring company = L"\\StringFileInfo\\040c04b0\\CompanyName";
    const std::wstring translation = L"\\VarFileInfo\\Translation";
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
        bool company_found;
        bool translation_found;
    } cases[] = {
        {"root longer than the block", [](auto& b) { put16(b, 0, 0xFFFF); }, true, true},
        {"root too short for its key", [](auto& b) { put16(b, 0, 5); }, false, false},
        {"zero-length string table", [](auto& b) { put16(b, node_of(b, L"StringFileInfo"), 0); },
         false, false},
        {"string table longer than the root",
         [](auto& b) { put16(b, node_of(b, L"StringFileInfo"), 0xFFFF); }, true, false},
        {"string value longer than its node",
         [](auto& b) { put16(b, node_of(b, L"CompanyName") + 2, 0xFFFF); }, true, true},
        {"key without its end",
         [&](auto& b) {
             const std::size_t node = node_of(b, L"CompanyName");
             b.replace(node + 6 + 22, 2, "XX");
             put16(b, node, 6 + 24);
         },
         false, true},
        {"cut before the translations", [](auto& b) { b.resize(node_of(b, L"VarFileInfo")); }, true,
         false},
        {"empty block", [](auto& b) { b.clear(); }, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string block = intact;
        c.damage(block);
        const auto found_company = query(block, company);
        EXPECT_EQ(found_company.has_value(), c.company_found);
        if (found_company) {
            EXPECT_EQ(*found_company, units(L"Quorvane"));
        }
        EXPECT_EQ(query(block, translation).has_value(), c.translation_found);
    }
}

TEST(version_info, every_cut_of_a_block_is_read_safely) {
    const std::string intact = qv_test::version_block(sample_version());
    for (std::size_t length = 0; length < intact.size(); ++length) {
        // A copy of exactly the cut length lets the sanitizer see any read beyond it.
        const std::string cut = intact.substr(0, length);
        for (const wchar_t* sub_block :
             {L"\\", L"\\VarFileInfo\\Translation", L"\\StringFileInfo\\040c04b0\\Clef"}) {
            const auto value = os::ver_query_value(bytes_of(cut), sub_block);
            if (value) {
                EXPECT_GE(value->data(), reinterpret_cast<const std::byte*>(cut.data()));
                EXPECT_LE(value->data() + value->size(),
                          reinterpret_cast<const std::byte*>(cut.data() + cut.size()));
            }
        }
    }
}

class version_info_files : public testing::Test {
protected:
    resources_test::program_folder programs;
};

TEST_F(version_info_files, programs_of_each_format_give_their_version_block) {
    const std::string expected = qv_test::version_block(sample_version());
    const struct {
        qv_test::program_format format;
        const char* name;
    } formats[] = {{qv_test::program_format::elf, "ELF"},
                   {qv_test::program_format::pe32, "PE32"},
                   {qv_test::program_format::pe32_plus, "PE32+"}};
    for (const auto& f : formats) {
        SCOPED_TRACE(f.name);
        qv_test::write_versioned_program(programs.host_path("app.exe"), sample_version(), f.format);
        const std::wstring path = programs.windows_path(L"APP.EXE");
        const std::uint32_t size = os::get_file_version_info_size(path);
        ASSERT_EQ(size, expected.size());
        std::vector<std::byte> data(size);
        ASSERT_TRUE(os::get_file_version_info(path, data));
        EXPECT_EQ(text_of(data), expected);
        EXPECT_EQ(os::ver_query_string(data, L"\\StringFileInfo\\040c04b0\\CompanyName"),
                  L"Quorvane");
    }
}

TEST_F(version_info_files, a_short_buffer_gets_the_start_of_the_block) {
    qv_test::write_versioned_program(programs.host_path("app.exe"), sample_version(),
                                     qv_test::program_format::pe32);
    // The root's key and fixed info take the first 92 bytes.
    constexpr std::size_t given = 100;
    std::vector<std::byte> data(given + 8, std::byte{0xAA});
    const auto buffer = std::span(data).first(given);
    ASSERT_TRUE(os::get_file_version_info(programs.windows_path(L"app.exe"), buffer));
    const std::string expected = qv_test::version_block(sample_version());
    EXPECT_EQ(text_of(buffer), expected.substr(0, given));
    EXPECT_EQ(data[given], std::byte{0xAA});
    EXPECT_TRUE(os::read_fixed_file_info(*os::ver_query_value(buffer, L"\\")));
    EXPECT_FALSE(os::ver_query_value(buffer, L"\\VarFileInfo\\Translation"));
}

TEST_F(version_info_files, files_without_version_information_have_none) {
    qv_test::write_pe_program(programs.host_path("other.exe"),
                              {{std::uint16_t{16}, std::uint16_t{2}, 0, "not the first"},
                               {std::uint16_t{24}, std::uint16_t{1}, 0, "<assembly/>"}});
    qv_test::write_host_file(programs.host_path("notes.txt"), "no program");
    for (const wchar_t* name : {L"other.exe", L"notes.txt", L"missing.exe"}) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(name));
        EXPECT_EQ(os::get_file_version_info_size(programs.windows_path(name)), 0u);
        std::vector<std::byte> data(64);
        EXPECT_FALSE(os::get_file_version_info(programs.windows_path(name), data));
    }
}

} // namespace
