#include "app/language_resources.h"
#include "app/language_state.h"
#include "app/localized_strings.h"

#include "tests/support/host_command.h"
#include "tests/support/host_locales.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace os = platform::os;

namespace {

using namespace qv::languages;

constexpr std::uint16_t rcdata = 10;

// A resource-only library of the machine that leaves some messages untranslated ("#") where
// the program's tables have them translated, in blocks of their own:
// French 1104; Turkish 9104 (English 2104 is the program's) and 9120, whose English 2120 is "#"
// too. Block 570 (9104 to 9119) has no entry 9106.
constexpr std::string_view satellite_script = R"(
LANGUAGE 0x0C, 0x01
STRINGTABLE
BEGIN
    1104, "#"
END
LANGUAGE 0x1F, 0x01
STRINGTABLE
BEGIN
    9104, "#"
    9120, "#"
END
LANGUAGE 0x09, 0x01
STRINGTABLE
BEGIN
    2120, "#"
END
LANGUAGE 0x09, 0x01
SATELLITE RCDATA
BEGIN
    "satellite"
END
)";

class language_resources : public testing::Test {
protected:
    void SetUp() override {
        qv_test::set_user_locale("C");
        const auto folder = machine_.drive_c();
        std::filesystem::create_directories(folder);
        qv_test::write_host_file(folder / "satellite.rc", std::string(satellite_script));
        ASSERT_EQ(qv_test::run_host_command({"x86_64-w64-mingw32-windres", "--preprocessor=cpp",
                                             (folder / "satellite.rc").string(), "-O", "coff", "-o",
                                             (folder / "satellite.o").string()}),
                  0);
        ASSERT_EQ(qv_test::run_host_command({"x86_64-w64-mingw32-ld", "--dll", "-e", "0", "-o",
                                             (folder / "satellite.dll").string(),
                                             (folder / "satellite.o").string()}),
                  0);
        auto module = os::load_module_file(L"C:\\satellite.dll");
        ASSERT_TRUE(module) << module.error().message();
        satellite_ = *module;
    }

    // Languages set the module anew: the satellite goes in after them.
    void use_satellite(qv::language_index language) {
        qv::set_language(language);
        qv::language_state::instance().resource_module = satellite_;
    }

    static std::wstring program_string(std::uint32_t id) {
        return os::load_string(os::own_module(), id);
    }

    qv_test::temp_machine machine_;
    std::shared_ptr<const os::resource_module> satellite_;
};

TEST_F(language_resources, the_program_is_the_resource_module_until_another_is_set) {
    qv::set_language(english);
    EXPECT_EQ(qv::load_resource_string(2104), L"Do you confirm Reinstallation ?");
    EXPECT_EQ(qv::language_state::instance().resource_module.get(), &os::own_module());
    EXPECT_TRUE(qv::load_resource(rcdata, L"SATELLITE").empty());
}

TEST_F(language_resources, strings_come_from_the_first_module_with_their_block) {
    use_satellite(turkish);
    EXPECT_EQ(qv::load_resource_string(9104), L"#");
    // The block is the satellite's, the entry is not: empty, not the program's text.
    EXPECT_FALSE(program_string(9106).empty());
    EXPECT_EQ(qv::load_resource_string(9106), L"");
    // Block 569 is only the program's.
    EXPECT_EQ(qv::load_resource_string(9100), program_string(9100));
    EXPECT_FALSE(qv::load_resource_string(9100).empty());
    qv::set_language(turkish);
    EXPECT_EQ(qv::load_resource_string(9104), program_string(9104));
}

TEST_F(language_resources, raw_resources_fall_back_to_the_program) {
    use_satellite(turkish);
    const auto satellite = qv::load_resource(rcdata, L"satellite");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(satellite.data()), satellite.size()),
              "satellite");
    const auto program_block = os::find_resource(os::own_module(), os::resource_type::string,
                                                 std::uint16_t{9100 / 16 + 1});
    ASSERT_TRUE(program_block);
    const auto block = qv::load_resource(os::resource_type::string, std::uint16_t{9100 / 16 + 1});
    EXPECT_EQ(block.data(), program_block->data());
    EXPECT_EQ(block.size(), program_block->size());
    EXPECT_TRUE(qv::load_resource(rcdata, L"MISSING").empty());
}

TEST_F(language_resources, an_untranslated_text_falls_back_to_english_unless_that_is_too) {
    use_satellite(turkish);
    EXPECT_EQ(qv::resolve_string_id(1104), 2104u);
    EXPECT_EQ(qv::localized_text(104), L"Do you confirm Reinstallation ?");
    EXPECT_EQ(qv::resolve_string_id(1120), 9120u);
    EXPECT_EQ(qv::localized_text(120), L"#");
    EXPECT_EQ(qv::resolve_string_id(1100), 9100u);
}

TEST_F(language_resources, french_and_english_searches_keep_their_untranslated_texts) {
    use_satellite(french);
    EXPECT_EQ(qv::resolve_string_id(1104), 1104u);
    EXPECT_EQ(qv::localized_text(104), L"#");
    use_satellite(polish);
    EXPECT_EQ(qv::resolve_string_id(1120), 2120u);
    EXPECT_EQ(qv::localized_text(120), L"#");
    use_satellite(english);
    EXPECT_EQ(qv::resolve_string_id(1120), 2120u);
}

} // namespace
