#include "app/file_version_info.h"
#include "app/product_identity.h"
#include "platform/os/version_info.h"

#include "tests/product/varnolis_program.h"

#include <gtest/gtest.h>
#include <vector>

namespace os = platform::os;

namespace {

TEST(varnolis_version, reads_back_as_the_product_the_installer_installs) {
    qv_test::temp_machine machine;
    const std::wstring program = varnolis_test::install_program(machine);
    const qv::file_version_info info(program);

    ASSERT_TRUE(info.has_fixed_block());
    // The installer's own product version: a reinstallation finds the same version installed.
    EXPECT_EQ(info.file_version(), qv::product_version);
    EXPECT_EQ(info.translations(), std::vector<std::wstring>{L"040904b0"});
    EXPECT_EQ(info.display_product_name(), L"Varnolis");
    EXPECT_EQ(info.display_version_text(), L"Varnolis 2.32g");
    EXPECT_EQ(info.product_name() + L" " + info.product_version(),
              qv::product_name(qv::product_name_form::with_version));
    EXPECT_EQ(info.string_value(L"CompanyName"), L"Quorvane");
    EXPECT_EQ(info.string_value(L"ApplicationId"), L"Varnolis2");
    EXPECT_EQ(info.string_value(L"FileVersion"), L"2.32.7.1");
    EXPECT_FALSE(info.string_value(L"FileDescription").empty());
    EXPECT_EQ(info.legal_copyright(), L"Copyright \u00a9 Quorvane. All rights reserved.");
}

TEST(varnolis_version, fixed_block_describes_a_release_application) {
    qv_test::temp_machine machine;
    const std::wstring program = varnolis_test::install_program(machine);
    std::vector<std::byte> data(os::get_file_version_info_size(program));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(os::get_file_version_info(program, data));
    const auto root = os::ver_query_value(data, L"\\");
    ASSERT_TRUE(root);
    const auto fixed = os::read_fixed_file_info(*root);
    ASSERT_TRUE(fixed);

    EXPECT_EQ(fixed->file_version_ms, 0x00020020u);
    EXPECT_EQ(fixed->file_version_ls, 0x00070001u);
    EXPECT_EQ(fixed->product_version_ms, 0x00020020u);
    EXPECT_EQ(fixed->product_version_ls, 0x00070001u);
    // No pre-release, private or debug mark changes the shown version.
    EXPECT_EQ(fixed->file_flags & fixed->file_flags_mask, 0u);
    EXPECT_EQ(fixed->file_os, 0x40004u);
    EXPECT_EQ(fixed->file_type, 1u);
}

} // namespace
