#include "platform/ui/folder_tree.h"

#include "platform/os/file_attributes.h"
#include "platform/os/folder_listing.h"
#include "platform/os/machine.h"
#include "tests/platform/ui/ui_fixture.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
namespace os = platform::os;
using namespace platform::ui;

std::vector<std::wstring> labels(const std::vector<std::unique_ptr<folder_tree::item>>& items) {
    std::vector<std::wstring> shown;
    for (const auto& shown_item : items)
        shown.push_back(shown_item->label);
    return shown;
}

struct tree_fixture {
    qv_test::temp_machine machine;
    qv_test::headless_session ui;
    fs::path apps;

    tree_fixture() {
        apps = os::host_path(L"C:\\Apps").value();
        for (const char* name : {"beta", "Alpha", "gamma", "Hidden", "link"})
            fs::create_directories(apps / name);
        fs::remove(apps / "link");
        fs::create_directory_symlink(apps / "gamma", apps / "link");
        std::ofstream(apps / "file.txt") << "not a folder";
        EXPECT_FALSE(os::set_file_attributes(L"C:\\Apps\\Hidden", os::file_attribute::hidden));
    }

    std::unique_ptr<folder_tree> make(std::optional<std::wstring> root) {
        return std::make_unique<folder_tree>(
            ui.session, nullptr, window::creation{L"SysTreeView32", 1, ws::visible, 0, L"", {}},
            std::move(root));
    }
};

TEST(folder_listing, subfolders_sorted_without_case_links_kept_hidden_and_files_left_out) {
    tree_fixture fixture;
    EXPECT_EQ(os::list_subfolders(L"C:\\Apps").value(),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma", L"link"}));
    EXPECT_EQ(os::list_subfolders(L"C:\\Apps\\file.txt").error(), os::win32_error::directory);
    EXPECT_EQ(os::list_subfolders(L"C:\\Missing").error(), os::win32_error::path_not_found);
    EXPECT_EQ(os::logical_drive_roots(), (std::vector<std::wstring>{L"C:\\", L"Z:\\"}));
}

TEST(folder_tree, without_root_the_computer_holds_the_drives) {
    tree_fixture fixture;
    auto tree = fixture.make(std::nullopt);
    EXPECT_FALSE(tree->root().path);
    EXPECT_EQ(labels(tree->children_of(tree->root())), (std::vector<std::wstring>{L"C:", L"Z:"}));
    auto* found = tree->find(L"c:/apps\\BETA\\");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->path, L"C:\\Apps\\beta");
    EXPECT_EQ(tree->find(L"C:\\Apps\\Hidden"), nullptr);
    EXPECT_EQ(tree->find(L"C:\\Apps\\Missing"), nullptr);
    EXPECT_EQ(tree->find(L"Apps"), nullptr);
}

TEST(folder_tree, with_a_root_only_its_folders_are_found) {
    tree_fixture fixture;
    auto tree = fixture.make(L"C:\\Apps");
    EXPECT_EQ(tree->root().label, L"Apps");
    EXPECT_EQ(tree->find(L"C:\\APPS"), &tree->root());
    ASSERT_NE(tree->find(L"C:\\Apps\\link"), nullptr);
    EXPECT_EQ(tree->find(L"C:\\Other"), nullptr);
    EXPECT_EQ(tree->find(L"C:\\"), nullptr);
}

TEST(folder_tree, selecting_opens_the_items_above_and_notifies_once_per_change) {
    tree_fixture fixture;
    qv_test::recording_handler handler;
    dialog owner(fixture.ui.session, nullptr, window::creation{L"#32770", 0, 0, 0, L"", {}});
    owner.set_handler(&handler);
    auto& tree = owner.adopt(std::make_unique<folder_tree>(
        fixture.ui.session, &owner,
        window::creation{L"SysTreeView32", 7, ws::child | ws::visible, 0, L"", {}}, std::nullopt));
    auto* gamma = tree.find(L"C:\\Apps\\gamma");
    ASSERT_NE(gamma, nullptr);
    tree.select(*gamma);
    tree.select(*gamma);
    EXPECT_EQ(tree.selected_path(), L"C:\\Apps\\gamma");
    EXPECT_TRUE(gamma->parent->expanded);
    EXPECT_TRUE(tree.root().expanded);
    EXPECT_FALSE(gamma->expanded);
    EXPECT_EQ(handler.commands, (std::vector<qv_test::recorded_command>{{7, tvn::sel_changed}}));
}

} // namespace
