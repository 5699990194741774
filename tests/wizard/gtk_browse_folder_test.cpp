// The folder chooser in a real window: the tree opens at the proposal's existing part, the keys
// move the selection through the model, the edit box follows, and Enter chooses.

#include "wizard/browse_for_folder.h"

#include "platform/os/machine.h"
#include "platform/ui/gtk_renderer.h"
#include "platform/ui/renderer_choice.h"

#include "tests/platform/ui/gtk_user.h"
#include "tests/platform/ui/ui_fixture.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
namespace os = platform::os;
namespace ui = platform::ui;

class GtkBrowseFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() { static const qv_test::virtual_display display; }

    qv_test::temp_machine machine;
    qv_test::scripted_driver unused;
    std::unique_ptr<ui::desktop> session;

    void SetUp() override {
        auto made = ui::make_renderer(ui::renderer_kind::gtk, unused);
        ASSERT_TRUE(made) << made.error().message();
        session = std::make_unique<ui::desktop>(std::move(*made));
        const fs::path drive = machine.root() / "drive_d";
        fs::create_directories(drive / "Apps" / "Graphics");
        fs::create_directories(drive / "Apps" / "Tools");
        fs::create_directory_symlink(drive, os::machine_root() / "dosdevices" / "d:");
    }
};

TEST_F(GtkBrowseFolder, KeysMoveTheSelectionAndEnterChoosesTheProposal) {
    qv_test::user_at_display user(*session, [] {
        const std::string id = qv_test::window_named("Browse For Folder");
        qv_test::xdotool({"windowfocus", "--sync", id});
        qv_test::screenshot("folder_browse");
        // From D:\Apps down to its first subfolder.
        qv_test::xdotool({"key", "Down"});
        qv_test::screenshot("folder_browse_graphics");
        qv_test::xdotool({"key", "Return"});
    });
    const std::wstring chosen =
        qv::browse_folder(L"D:\\Apps", L"Varnolis 2", L"Choose the installation folder.");
    EXPECT_EQ(user.join(), "");
    EXPECT_EQ(chosen, L"D:\\Apps\\Graphics\\Varnolis 2");
}

TEST_F(GtkBrowseFolder, EscapeCancels) {
    qv_test::user_at_display user(*session, [] {
        const std::string id = qv_test::window_named("Browse For Folder");
        qv_test::xdotool({"windowfocus", "--sync", id});
        qv_test::xdotool({"key", "Escape"});
    });
    EXPECT_EQ(qv::browse_folder(L"D:\\Apps", L"Varnolis 2", L""), L"");
    EXPECT_EQ(user.join(), "");
}

} // namespace
