#include "locations/same_path.h"
#include "locations/shared_folders.h"

#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

struct path_pair {
    const wchar_t* a;
    const wchar_t* b;
    bool same;
};

class same_path : public testing::Test {
protected:
    same_path() {
        os::machine_root();
        // Two folders whose names differ only in case, as a case-sensitive host allows.
        fs::create_directories(machine.drive_c("Data"));
        fs::create_directories(machine.drive_c("data"));
        fs::create_directory_symlink("ProgramData", machine.drive_c("Alias"));
    }

    static void check(const path_pair& pair) {
        EXPECT_EQ(qv::same_path(pair.a, pair.b), pair.same)
            << os::to_utf8(pair.a) << " / " << os::to_utf8(pair.b);
        EXPECT_EQ(qv::same_path(pair.b, pair.a), pair.same)
            << os::to_utf8(pair.b) << " / " << os::to_utf8(pair.a);
    }

    qv_test::temp_machine machine;
};

TEST_F(same_path, equal_paths_and_paths_to_the_same_file_are_the_same) {
    const path_pair cases[] = {
        {L"C:\\ProgramData", L"C:/ProgramData", true},
        {L"C:\\Missing\\\\Folder", L"C:\\Missing\\Folder", true},
        {L"Relative\\Missing", L"Relative/Missing", true},
        {L"", L"", true},
        // Existing: the file identity decides.
        {L"C:\\ProgramData\\", L"C:\\ProgramData", true},
        {L"c:\\PROGRAMDATA", L"C:\\ProgramData", true},
        {L"C:\\Alias", L"C:\\ProgramData", true},
        {L"C:\\windows\\..\\ProgramData", L"C:\\ProgramData", true},
        {L"C:\\ProgramData", L"C:\\windows", false},
        {L"C:\\Data", L"C:\\data", false},
    };
    for (const auto& pair : cases)
        check(pair);
}

TEST_F(same_path, paths_without_an_identity_compare_their_absolute_forms_without_case) {
    ASSERT_FALSE(os::set_current_directory(L"C:\\ProgramData"));
    const path_pair cases[] = {
        {L"C:\\ProgramData\\Quorvane\\Varnolis 2", L"c:\\programdata\\QUORVANE\\varnolis 2", true},
        {L"C:\\Missing\\..\\Quorvane", L"C:\\quorvane", true},
        {L"Quorvane", L"C:\\ProgramData\\quorvane", true},
        {L"C:\\ProgramData\\Quorvane", L"C:\\ProgramData\\Quorvane\\Sub", false},
        {L"C:\\ProgramData\\Quorvane", L"C:\\ProgramData\\Quorvanf", false},
        {L"C:\\Quorvane\\", L"C:\\Quorvane", false},
        {L"", L"C:\\ProgramData\\Missing", false},
    };
    for (const auto& pair : cases)
        check(pair);
}

TEST(shared_folder_list, keeps_one_record_per_folder_in_the_order_met) {
    qv_test::temp_machine machine;
    qv::shared_folder_list shared;
    EXPECT_TRUE(shared.add(L"C:\\ProgramData\\Quorvane"));
    EXPECT_TRUE(shared.add(L"C:\\ProgramData\\Quorvane\\Varnolis 2"));
    EXPECT_FALSE(shared.add(L"c:/programdata/quorvane"));
    EXPECT_TRUE(shared.add(L"C:\\users\\Public\\Desktop"));
    EXPECT_FALSE(shared.add(L"C:\\USERS\\public\\desktop\\"));
    ASSERT_EQ(shared.size(), 3u);
    auto record = shared.begin();
    EXPECT_EQ(record->folder, L"C:\\ProgramData\\Quorvane");
    EXPECT_FALSE(record->granted);
    record->granted = true;
    EXPECT_EQ((++record)->folder, L"C:\\ProgramData\\Quorvane\\Varnolis 2");
    EXPECT_EQ((++record)->folder, L"C:\\users\\Public\\Desktop");
    EXPECT_TRUE(shared.begin()->granted);
}

} // namespace
