#include "wizard/browse_for_folder.h"

#include "app/default_folders.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"
#include "platform/ui/folder_browse_dialog.h"

#include "tests/platform/framework/framework_fixture.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
namespace os = platform::os;
namespace ui = platform::ui;
namespace action = ui::user_action;
using browse = ui::folder_browse_dialog;

const std::wstring start_menu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::wstring common_programs = start_menu + L"\\Programs";

// What the dialog shows when the user first sees it.
struct first_sight {
    std::optional<std::wstring> selected;
    std::optional<std::wstring> edit_text;
    ui::edit_selection edit_selection;
    bool ok_enabled = false;
    std::wstring title;
};

struct browse_session : qv_test::framework_session {
    qv_test::temp_machine machine;
    fs::path drive_d;
    first_sight seen;

    browse_session() {
        drive_d = machine.root() / "drive_d";
        fs::create_directories(drive_d / "Apps");
        fs::create_directory_symlink(drive_d, os::machine_root() / "dosdevices" / "d:");
        input.on_first_turn([this](ui::dialog& active) {
            auto& dialog = dynamic_cast<browse&>(active);
            seen.selected = dialog.tree().selected_path();
            if (dialog.edit_box()) {
                seen.edit_text = dialog.edit_box()->text();
                seen.edit_selection = dialog.edit_box()->selection();
            }
            seen.ok_enabled = dialog.child(ui::idok)->is_enabled();
            seen.title = dialog.child(browse::title_id)->text();
        });
    }
};

TEST(browse_folder, the_product_folder_is_proposed_below_the_selected_folder) {
    browse_session ui;
    ui.input.script = {action::select_folder{browse::tree_id, L"D:\\"}, action::click{ui::idok}};
    EXPECT_EQ(qv::browse_folder(L"D:\\Apps", L"Varnolis 2", L"Choose the folder"),
              L"D:\\Varnolis 2");
    EXPECT_EQ(ui.seen.selected, L"D:\\Apps");
    EXPECT_EQ(ui.seen.edit_text, L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(ui.seen.edit_selection, (ui::edit_selection{0, 18}));
    EXPECT_TRUE(ui.seen.ok_enabled);
    EXPECT_EQ(ui.seen.title, L"Choose the folder");
    EXPECT_TRUE(ui.input.boxes.empty());
}

TEST(browse_folder, an_existing_proposal_is_chosen_as_it_stands) {
    browse_session ui;
    fs::create_directories(ui.drive_d / "Apps" / "Varnolis 2");
    ui.input.script = {action::click{ui::idok}};
    EXPECT_EQ(qv::browse_folder(L"D:\\Apps\\Varnolis 2", L"Varnolis 2", L""),
              L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(ui.seen.selected, L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(ui.seen.edit_text, L"D:\\Apps\\Varnolis 2");
}

TEST(browse_folder, a_typed_bare_drive_is_its_root) {
    browse_session ui;
    ui.input.script = {action::type_text{browse::edit_id, L"C:"}, action::click{ui::idok}};
    EXPECT_EQ(qv::browse_folder(L"D:\\Apps", L"Varnolis 2", L""), L"C:\\");
}

TEST(browse_folder, a_relative_initial_folder_starts_at_the_documents) {
    browse_session ui;
    ui.input.script = {action::click{ui::idcancel}};
    EXPECT_EQ(qv::browse_folder(L"Apps\\Varnolis 2", L"Varnolis 2", L""), L"");
    const std::wstring documents = L"C:\\users\\" + os::user_name() + L"\\Documents";
    EXPECT_TRUE(ui.seen.selected && os::iequals(*ui.seen.selected, documents))
        << ui.seen.selected.value_or(L"(none)");
    EXPECT_TRUE(ui.seen.edit_text && os::iequals(*ui.seen.edit_text, documents + L"\\Varnolis 2"));
}

TEST(browse_folder, without_subfolder_only_file_system_folders_can_be_chosen) {
    browse_session ui;
    bool ok_on_computer = true;
    ui.input.before_turn = [&](ui::dialog& active) {
        auto& dialog = dynamic_cast<browse&>(active);
        if (!dialog.tree().selected_path())
            ok_on_computer = dialog.child(ui::idok)->is_enabled();
    };
    ui.input.script = {action::select_folder{browse::tree_id, L"D:\\Apps"},
                       action::click{ui::idok}};
    // A wildcard makes the subfolder ignored: no edit box, the selection itself is chosen.
    EXPECT_EQ(qv::browse_folder(L"", L"Varnolis*", L""), L"D:\\Apps");
    EXPECT_FALSE(ui.seen.edit_text);

    // The tree's top item is the computer, which has no folder of its own.
    browse_session computer;
    bool ok_enabled = true;
    computer.input.before_turn = [&](ui::dialog& active) {
        auto& dialog = dynamic_cast<browse&>(active);
        dialog.tree().select(dialog.tree().root());
        ok_enabled = dialog.child(ui::idok)->is_enabled();
    };
    computer.input.script = {action::click{ui::idok}, action::click{ui::idcancel}};
    EXPECT_EQ(qv::browse_folder(L"", L"", L""), L"");
    EXPECT_FALSE(ok_enabled);
}

TEST(browse_start_menu_folder, the_default_shortcut_folder_relative_to_the_start_menu) {
    browse_session ui;
    fs::create_directories(os::host_path(common_programs + L"\\Quorvane").value());
    std::wstring relative = L"unchanged";
    ui.input.script = {action::click{ui::idok}};
    EXPECT_EQ(
        qv::browse_start_menu_folder(qv::default_shortcut_folder(), L"Varnolis 2", L"", relative),
        common_programs + L"\\Quorvane\\Varnolis 2");
    EXPECT_EQ(relative, L"Programs\\Quorvane\\Varnolis 2");
    EXPECT_EQ(ui.seen.selected, common_programs + L"\\Quorvane");
    EXPECT_EQ(ui.seen.edit_text, L"Programs\\Quorvane\\Varnolis 2");
}

TEST(browse_start_menu_folder, a_folder_outside_the_start_menu_is_refused_and_the_dialog_stays) {
    browse_session ui;
    std::wstring relative = L"unchanged";
    bool still_open = false;
    const ui::window* browse_dialog = nullptr;
    ui.input.before_turn = [&](ui::dialog& active) {
        browse_dialog = &active;
        still_open = !ui.input.boxes.empty() && dynamic_cast<browse*>(&active) != nullptr;
    };
    ui.input.script = {action::type_text{browse::edit_id, L"D:\\Apps"}, action::click{ui::idok},
                       action::click{ui::idcancel}};
    EXPECT_EQ(qv::browse_start_menu_folder(L"", L"Varnolis 2", L"", relative), L"");
    EXPECT_EQ(relative, L"unchanged");
    EXPECT_TRUE(still_open);
    ASSERT_EQ(ui.input.boxes.size(), 1u);
    EXPECT_EQ(ui.input.boxes[0].text, L"The specified path is invalid.");
    EXPECT_EQ(ui.input.boxes[0].type, ui::mb::icon_exclamation);
    EXPECT_EQ(ui.input.boxes[0].owner, browse_dialog);
}

TEST(browse_start_menu_folder, choosing_the_start_menu_programs_folder_itself) {
    browse_session ui;
    std::wstring relative = L"unchanged";
    ui.input.script = {action::select_folder{browse::tree_id, common_programs},
                       action::type_text{browse::edit_id, common_programs},
                       action::click{ui::idok}};
    EXPECT_EQ(qv::browse_start_menu_folder(L"", L"Varnolis 2", L"", relative), common_programs);
    EXPECT_EQ(relative, L"Programs");
}

} // namespace
