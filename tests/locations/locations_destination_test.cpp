#include "locations/destination.h"

#include "payload/compress_error.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/locations/locations_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <string>
#include <system_error>
#include <vector>

namespace os = platform::os;
using locations_test::make_unavailable;

namespace {

std::vector<std::wstring> folders_of(const qv::shared_folder_list& shared) {
    std::vector<std::wstring> folders;
    for (const auto& record : shared) {
        EXPECT_FALSE(record.granted);
        folders.push_back(record.folder);
    }
    return folders;
}

class destination : public testing::Test {
protected:
    std::wstring resolve(std::wstring_view destination) {
        return qv::resolve_destination(destination, folders, shared);
    }
    std::vector<std::wstring> registered() const { return folders_of(shared); }

    qv_test::temp_machine machine;
    const std::wstring profile = L"C:\\users\\" + os::user_name();
    qv::target_folders folders{L"D:\\Apps\\Varnolis 2", L"Varnolis Examples", L""};
    qv::shared_folder_list shared;
};

TEST_F(destination, placeholders_that_register_nothing) {
    folders.temporary = L"C:\\users\\me\\Temp\\qv1";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"<InstallPath>", L"D:\\Apps\\Varnolis 2"},
        {L"<InstallPath>\\Lang", L"D:\\Apps\\Varnolis 2\\Lang"},
        {L"<InstallPath>/Lang//Fr", L"D:\\Apps\\Varnolis 2\\Lang\\Fr"},
        {L"<InstallPath>\\Lang\\", L"D:\\Apps\\Varnolis 2\\Lang\\"},
        {L"<Temporary>\\x", L"C:\\users\\me\\Temp\\qv1\\x"},
        {L"<ProgramFiles>\\Quorvane", L"C:\\Program Files\\Quorvane"},
        {L"<ProgramCommon>", L"C:\\Program Files\\Common Files"},
        {L"<UserData>\\Quorvane", profile + L"\\AppData\\Roaming\\Quorvane"},
        {L"<Documents>\\A", profile + L"\\Documents\\A"},
        {L"<Desktop>\\A", profile + L"\\Desktop\\A"},
        {L"<WinDir>", L"C:\\windows"},
        {L"<System>\\drivers", L"C:\\windows\\system32\\drivers"},
        // Without a leading placeholder the destination is taken as it is.
        {L"C:\\Fixed\\Folder", L"C:\\Fixed\\Folder"},
        {L"Folder\\Sub", L"Folder\\Sub"},
        {L"", L""},
        {L"\\<InstallPath>\\Lang", L"\\<InstallPath>\\Lang"},
        {L"Lang\\<InstallPath>", L"Lang\\<InstallPath>"},
        {L"<InstallPath>x\\Lang", L"<InstallPath>x\\Lang"},
        // Placeholders match exactly; any other name in brackets leaves the rest relative.
        {L"<installpath>\\Lang", L"Lang"},
        {L"<InstallPath>>\\Lang", L"Lang"},
        {L"<Other>\\A\\B", L"A\\B"},
        {L"<Other>", L""},
        {L"<>\\A", L"A"},
    };
    for (const auto& [destination, expected] : cases)
        EXPECT_EQ(resolve(destination), expected) << os::to_utf8(destination);
    EXPECT_TRUE(registered().empty());
}

TEST_F(destination, temporary_falls_back_to_the_install_folder) {
    EXPECT_EQ(resolve(L"<Temporary>"), L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(resolve(L"<Temporary>\\x"), L"D:\\Apps\\Varnolis 2\\x");
}

TEST_F(destination, all_users_folders_register_each_folder_below_them_once) {
    for (int entry = 0; entry < 2; ++entry)
        EXPECT_EQ(resolve(L"<CommonData>\\Quorvane\\Varnolis 2"),
                  L"C:\\ProgramData\\Quorvane\\Varnolis 2");
    EXPECT_EQ(resolve(L"<CommonData>"), L"C:\\ProgramData");
    EXPECT_EQ(resolve(L"<CommonData>/quorvane"), L"C:\\ProgramData\\quorvane");
    EXPECT_EQ(resolve(L"<CommonDesktop>\\A"), L"C:\\users\\Public\\Desktop\\A");
    EXPECT_EQ(resolve(L"<CommonDocuments>\\Quorvane"), L"C:\\users\\Public\\Documents\\Quorvane");
    EXPECT_EQ(registered(), (std::vector<std::wstring>{
                                L"C:\\ProgramData\\Quorvane",
                                L"C:\\ProgramData\\Quorvane\\Varnolis 2",
                                L"C:\\users\\Public\\Desktop\\A",
                                L"C:\\users\\Public\\Documents\\Quorvane",
                            }));
}

TEST_F(destination, a_relative_sample_folder_goes_on_the_all_users_desktop_and_is_shared) {
    const std::wstring samples = L"C:\\users\\Public\\Desktop\\Varnolis Examples";
    EXPECT_EQ(resolve(L"<SamplePath>"), samples);
    EXPECT_EQ(resolve(L"<SamplePath>\\Letters"), samples + L"\\Letters");
    EXPECT_EQ(resolve(L"<SamplePath>"), samples);
    EXPECT_EQ(registered(), std::vector<std::wstring>{samples});
}

TEST_F(destination, an_absolute_or_empty_sample_folder_is_not_shared) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"E:\\Samples", L"E:\\Samples\\Letters"},
        {L"\\\\server\\share", L"\\\\server\\share\\Letters"},
        {L"", L"C:\\users\\Public\\Desktop\\Letters"},
    };
    for (const auto& [sample, expected] : cases) {
        folders.sample = sample;
        EXPECT_EQ(resolve(L"<SamplePath>\\Letters"), expected) << os::to_utf8(sample);
    }
    EXPECT_TRUE(registered().empty());
}

TEST_F(destination, the_user_folders_stand_in_for_unavailable_all_users_folders) {
    make_unavailable(os::predefined_key::local_machine, L"Common AppData");
    make_unavailable(os::predefined_key::local_machine, L"Common Desktop");
    EXPECT_EQ(resolve(L"<CommonData>\\Quorvane"), profile + L"\\AppData\\Roaming\\Quorvane");
    EXPECT_EQ(resolve(L"<SamplePath>"), profile + L"\\Desktop\\Varnolis Examples");
    EXPECT_EQ(registered(), (std::vector<std::wstring>{
                                profile + L"\\AppData\\Roaming\\Quorvane",
                                profile + L"\\Desktop\\Varnolis Examples",
                            }));
}

TEST_F(destination, an_unavailable_folder_without_a_fallback_is_unexpected) {
    make_unavailable(os::predefined_key::local_machine, L"Common AppData");
    make_unavailable(os::predefined_key::current_user, L"AppData");
    for (const wchar_t* destination : {L"<CommonData>\\Quorvane", L"<UserData>"}) {
        try {
            resolve(destination);
            ADD_FAILURE() << "resolved " << os::to_utf8(destination);
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), qv::compress_error::unexpected);
        }
    }
    EXPECT_TRUE(registered().empty());
    EXPECT_EQ(resolve(L"<InstallPath>"), L"D:\\Apps\\Varnolis 2");
}

} // namespace
