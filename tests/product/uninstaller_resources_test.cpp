// Uninstall.exe's resources as the system reads them from the file: its version and its texts
// in each of the installer's languages.

#include "app/file_version_info.h"
#include "app/language_table.h"
#include "app/product_identity.h"
#include "platform/os/resources.h"
#include "product/uninstaller/text_ids.h"

#include "tests/product/installed_product.h"

#include <gtest/gtest.h>

namespace os = platform::os;
using namespace uninstaller_test;

namespace {

class uninstaller_resources : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(machine.drive_c("Program Files/Quorvane/Varnolis 2"));
        copy_build_file(built_uninstaller, uninstaller_path);
    }

    qv_test::temp_machine machine;
};

TEST_F(uninstaller_resources, version_names_the_uninstaller_of_this_product_version) {
    const qv::file_version_info info(uninstaller_path);
    ASSERT_TRUE(info.has_fixed_block());
    EXPECT_EQ(info.file_version(), qv::product_version);
    EXPECT_EQ(info.string_value(L"OriginalFilename"), L"Uninstall.exe");
    EXPECT_EQ(info.string_value(L"CompanyName"), L"Quorvane");
    EXPECT_EQ(info.display_version_text(), L"Varnolis 2.32g");
}

// Every text in every language the installer speaks, with its insertions; none in the others,
// which fall back to English.
TEST_F(uninstaller_resources, every_installer_language_has_every_text) {
    const auto module = os::load_module_file(uninstaller_path);
    ASSERT_TRUE(module) << module.error().message();
    for (qv::language_index language = 0; language < qv::languages::count; ++language) {
        SCOPED_TRACE("language " + std::to_string(language));
        const auto language_id = static_cast<std::uint16_t>(qv::language_lcid(language));
        for (std::uint32_t id = UNINSTALL_TEXT_TITLE; id <= UNINSTALL_TEXT_SHARED_DATA_KEPT; ++id) {
            SCOPED_TRACE("text " + std::to_string(id));
            const std::wstring text = os::load_string(**module, id, language_id);
            if (!qv::is_installer_language(language)) {
                EXPECT_EQ(text, L"");
                continue;
            }
            EXPECT_NE(text, L"");
            const bool names_the_log = id == UNINSTALL_TEXT_LOG_MISSING;
            const bool names_the_product = id != UNINSTALL_TEXT_SHARED_DATA_KEPT;
            EXPECT_EQ(text.find(L"%1") != std::wstring::npos, names_the_product);
            EXPECT_EQ(text.find(L"%2") != std::wstring::npos, names_the_log);
        }
    }
}

} // namespace
