#include "platform/os/machine.h"
#include "platform/os/resources.h"
#include "platform/os/version_info.h"
#include "resources/resource_ids.h"

#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"

#include <gtest/gtest.h>

// The image's bounds as the program links them.
extern "C" {
extern const std::byte qv_resource_image_begin[];
extern const std::byte qv_resource_image_end[];
}

namespace os = platform::os;

namespace {

std::span<const std::byte> own_version_block() {
    const auto block =
        os::find_resource(os::own_module(), os::resource_type::version, VS_VERSION_INFO);
    return block ? *block : std::span<const std::byte>();
}

std::string text_of(std::span<const std::byte> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(own_resources, the_version_resource_describes_the_installer) {
    const auto block = own_version_block();
    ASSERT_FALSE(block.empty());
    const auto fixed = os::read_fixed_file_info(*os::ver_query_value(block, L"\\"));
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->file_version_ms, 0x00020004u);
    EXPECT_EQ(fixed->file_version_ls, 0x00010001u);
    EXPECT_EQ(fixed->product_version_ms, 0x00020004u);
    EXPECT_EQ(fixed->product_version_ls, 0x00010001u);
    EXPECT_EQ(fixed->file_flags_mask, 0x3Fu);
    EXPECT_EQ(fixed->file_flags, 0u);
    EXPECT_EQ(fixed->file_os, 0x40004u);
    EXPECT_EQ(fixed->file_type, 1u);

    const auto translation = os::ver_query_value(block, L"\\VarFileInfo\\Translation");
    ASSERT_TRUE(translation);
    EXPECT_EQ(text_of(*translation), std::string("\x00\x04\xB0\x04", 4));

    const struct {
        const wchar_t* key;
        const wchar_t* value;
    } strings[] = {
        {L"FileVersion", L"2.4.1.1"},
        {L"ProductVersion", L"2.04a"},
        {L"ProductName", L"Install"},
        {L"InternalName", L"Install"},
        {L"FileDescription", L"Installeur Varnolis 2.32g"},
        {L"CompanyName", L"Quorvane"},
        {L"ApplicationId", L"Varnolis2"},
        {L"LegalCopyright", L"Copyright \u00a9 Quorvane. All rights reserved."},
    };
    for (const auto& s : strings) {
        SCOPED_TRACE(testing::Message() << std::filesystem::path(s.key));
        EXPECT_EQ(
            os::ver_query_string(block, std::wstring(L"\\StringFileInfo\\040004b0\\") + s.key),
            s.value);
    }
}

TEST(own_resources, are_read_in_place_in_the_program_image) {
    const auto block = own_version_block();
    ASSERT_FALSE(block.empty());
    EXPECT_GE(block.data(), qv_resource_image_begin);
    EXPECT_LE(block.data() + block.size(), qv_resource_image_end);
}

TEST(own_resources, the_manifest_asks_for_administrators_and_common_controls_6) {
    const auto manifest =
        os::find_resource(os::own_module(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_TRUE(manifest);
    const std::string text = text_of(*manifest);
    for (const char* part : {
             "<?xml version=\"1.0\" encoding=\"UTF-8\"",
             "level=\"requireAdministrator\" uiAccess=\"false\"",
             "name=\"Microsoft.Windows.Common-Controls\"",
             "version=\"6.0.0.0\" processorArchitecture=\"*\"",
             "publicKeyToken=\"6595b64144ccf1df\" language=\"*\"", ">true</dpiAware>",
             "{e2011457-1546-43c5-a5fe-008deee3d3f0}", // Windows Vista
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // Windows 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // Windows 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // Windows 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", // Windows 10
         }) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
}

// The linked program read as a file of the machine (through drive Z:) holds the same image in
// its ".rsrc" section.
TEST(own_resources, the_program_file_carries_them_in_its_resource_section) {
    qv_test::temp_machine machine;
    os::machine_root();
    const auto program = os::windows_path_of_host(qv_test::own_program());
    ASSERT_TRUE(program);
    const auto module = os::load_module_file(*program);
    ASSERT_TRUE(module) << module.error().message();
    const auto block = os::find_resource(**module, os::resource_type::version, VS_VERSION_INFO);
    ASSERT_TRUE(block);
    EXPECT_EQ(text_of(*block), text_of(own_version_block()));
    EXPECT_EQ(os::get_file_version_info_size(*program), own_version_block().size());
}

} // namespace
