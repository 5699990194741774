// The wizard's frame with its six pages, on the headless driver and a temporary machine: the
// order of the pages, the buttons, leaving, the system menu, the layout, and a whole
// installation through the frame.

#include "wizard/install_dlg.h"

#include "app/default_folders.h"
#include "app/language_state.h"
#include "app/language_table.h"
#include "payload/entry_kind.h"
#include "platform/os/machine.h"
#include "platform/os/resource_handle.h"
#include "platform/os/unicode.h"

#include "tests/payload/payload_archive.h"
#include "tests/platform/framework/framework_fixture.h"
#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"

#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace os = platform::os;
namespace ui = platform::ui;
namespace action = ui::user_action;

// What the frame shows at one turn of its loop.
struct frame_state {
    int page;
    std::wstring next;
    bool next_enabled;
    std::wstring back;
    bool back_enabled;
    std::wstring exit;
    bool exit_enabled;
    std::optional<int> default_id;
};

struct wizard_session : qv_test::framework_session {
    qv_test::temp_machine machine;
    qv::install_session session;
    std::vector<frame_state> states;

    wizard_session() {
        qv::set_language(qv::languages::english);
        session.install_folder = qv::default_install_folder();
        session.shortcut_folder = qv::default_shortcut_folder();
    }
    ~wizard_session() { os::set_resource_module(nullptr); }

    // Runs the frame with the script, keeping the frame's state before every turn.
    std::intptr_t run(std::deque<ui::driver_action> script) {
        qv::CInstallDlg frame(session);
        input.script = std::move(script);
        input.before_turn = [&](ui::dialog& active) {
            if (&active != frame.GetSafeHwnd())
                return;
            auto button = [&](int id) { return frame.GetDlgItem(id); };
            states.push_back(
                {frame.current_page(), button(IDC_NEXT)->GetWindowText(),
                 button(IDC_NEXT)->IsWindowEnabled(), button(IDC_BACK)->GetWindowText(),
                 button(IDC_BACK)->IsWindowEnabled(), button(IDC_EXIT)->GetWindowText(),
                 button(IDC_EXIT)->IsWindowEnabled(), active.default_id()});
        };
        return frame.DoModal();
    }

    std::vector<int> pages() const {
        std::vector<int> shown;
        for (const auto& state : states)
            shown.push_back(state.page);
        return shown;
    }
};

TEST(wizard_frame, the_quick_method_passes_over_the_folder_and_shortcut_pages) {
    wizard_session ui;
    ui.input.answers = {ui::idno, ui::idyes};
    const auto result =
        ui.run({action::click{IDC_NEXT}, action::click{IDC_NEXT}, action::click{IDC_BACK},
                action::click{IDC_NEXT}, action::click{IDC_EXIT}, action::click{IDC_EXIT}});
    EXPECT_EQ(result, ui::idcancel);
    EXPECT_EQ(ui.pages(), (std::vector<int>{0, 1, 4, 1, 4, 4}));
    const frame_state& start = ui.states[0];
    EXPECT_EQ(start.next, L"Next  >");
    EXPECT_TRUE(start.next_enabled);
    EXPECT_EQ(start.back, L"<  Back");
    EXPECT_FALSE(start.back_enabled);
    EXPECT_EQ(start.exit, L"Cancel");
    EXPECT_EQ(start.default_id, IDC_NEXT);
    const frame_state& install = ui.states[2];
    EXPECT_EQ(install.next, L"Install");
    EXPECT_TRUE(install.back_enabled);
    // Leaving before the installation asks, and No keeps the wizard.
    ASSERT_EQ(ui.input.boxes.size(), 2u);
    EXPECT_EQ(ui.input.boxes[0].text,
              L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?");
    EXPECT_EQ(ui.input.boxes[0].type, 0x124u);
}

TEST(wizard_frame, the_advanced_method_shows_every_page_in_order) {
    wizard_session ui;
    ui.input.answers = {ui::idyes};
    ui.run({action::click{IDC_NEXT},
            action::set_check{IDC_ADVANCED_METHOD, ui::check_state::checked},
            action::click{IDC_NEXT}, action::click{IDC_NEXT}, action::click{IDC_NEXT},
            action::click{IDC_BACK}, action::click{IDC_BACK}, action::click{IDC_BACK},
            action::set_check{IDC_QUICK_METHOD, ui::check_state::checked}, action::click{IDC_NEXT},
            action::click{IDC_EXIT}});
    EXPECT_EQ(ui.pages(), (std::vector<int>{0, 1, 1, 2, 3, 4, 3, 2, 1, 1, 4}));
    EXPECT_FALSE(ui.session.advanced_method);
}

TEST(wizard_frame, leaving_asks_only_when_something_could_be_lost) {
    struct {
        qv::install_state state;
        std::deque<ui::driver_action> script;
        std::size_t questions;
    } const cases[] = {
        {qv::install_state::not_installed, {action::click{IDC_EXIT}}, 1},
        {qv::install_state::same_version_installed, {action::click{IDC_EXIT}}, 0},
        {qv::install_state::same_version_installed,
         {action::click{IDC_NEXT}, action::click{IDC_EXIT}},
         1},
        {qv::install_state::newer_installed, {action::click{IDC_EXIT}}, 0},
        {qv::install_state::older_installed, {action::close{}}, 1},
    };
    for (const auto& c : cases) {
        wizard_session ui;
        ui.session.install_state = c.state;
        ui.input.answers = {ui::idyes};
        EXPECT_EQ(ui.run(c.script), ui::idcancel);
        EXPECT_EQ(ui.input.boxes.size(), c.questions) << static_cast<int>(c.state);
    }
}

TEST(wizard_frame, a_newer_installation_keeps_next_disabled_even_after_a_language_change) {
    wizard_session ui;
    ui.session.install_state = qv::install_state::newer_installed;
    ui.run({action::click{IDC_NEXT}, action::select_item{IDC_LANGUAGE_LIST, 2},
            action::click{IDC_NEXT}, action::click{IDC_EXIT}});
    for (const auto& state : ui.states) {
        EXPECT_EQ(state.page, 0);
        EXPECT_FALSE(state.next_enabled);
    }
    ASSERT_GE(ui.states.size(), 3u);
    EXPECT_NE(ui.states[2].back, L"<  Back");
}

TEST(wizard_frame, title_system_menu_and_about_box) {
    wizard_session ui;
    std::wstring title;
    std::vector<ui::menu_item> menu;
    std::wstring about_title;
    ui.input.before_turn = nullptr;
    qv::CInstallDlg frame(ui.session);
    ui.input.before_turn = [&](ui::dialog& active) {
        if (&active == frame.GetSafeHwnd()) {
            title = active.title();
            menu = active.menu().items();
        } else {
            about_title = active.title();
        }
    };
    ui.input.script = {action::system_menu_command{ui::sc::maximize},
                       action::system_menu_command{qv::CInstallDlg::about_command},
                       action::click{IDC_NEXT}, action::click{IDC_EXIT}};
    ui.input.answers = {ui::idyes};
    frame.DoModal();
    EXPECT_EQ(title, L"Installer \u2013 Varnolis 2.32g");
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu.back().command, qv::CInstallDlg::about_command);
    EXPECT_EQ(menu.back().text, L"&About 'Installer'...");
    EXPECT_EQ(menu[menu.size() - 2].kind, ui::menu_item_kind::separator);
    for (const auto& item : menu) {
        EXPECT_NE(item.command, ui::sc::maximize);
        EXPECT_NE(item.command, ui::sc::size);
    }
    EXPECT_EQ(about_title, L"About 'Installer'");
}

TEST(wizard_frame, every_page_fills_the_same_area_above_the_separator) {
    wizard_session ui;
    std::vector<ui::rect> pages;
    ui::rect separator, banner, next, client;
    qv::CInstallDlg frame(ui.session);
    ui.input.on_first_turn([&](ui::dialog& active) {
        for (const auto& child : active.children()) {
            if (dynamic_cast<ui::dialog*>(child.get()))
                pages.push_back(child->rect());
        }
        separator = active.child(IDC_SEPARATOR)->rect();
        banner = active.child(IDC_BANNER_BACKGROUND)->rect();
        next = active.child(IDC_NEXT)->rect();
        client = active.client_rect();
    });
    ui.input.script = {action::click{IDC_EXIT}};
    ui.input.answers = {ui::idyes};
    frame.DoModal();
    ASSERT_EQ(pages.size(), 6u);
    for (const auto& page : pages) {
        EXPECT_EQ(page, pages[0]);
    }
    EXPECT_EQ(pages[0].left, banner.right);
    EXPECT_EQ(pages[0].bottom, separator.top);
    EXPECT_EQ(banner.bottom, separator.top);
    EXPECT_LE(next.bottom, client.bottom);
    EXPECT_LE(pages[0].right, client.right);
}

TEST(wizard_frame, a_whole_installation_through_the_frame) {
    wizard_session ui;
    using qv::entry_kind;
    const auto kind = [](entry_kind value) { return static_cast<std::uint32_t>(value); };
    const std::vector<payload_test::test_entry> entries = {
        {L"Varnolis.exe", L"<InstallPath>", "main program", kind(entry_kind::main_program)},
        {L"Uninstall.exe", L"<InstallPath>", "uninstaller", kind(entry_kind::uninstaller)},
        {L"Lang\\de.dll", L"<InstallPath>\\Lang", "texts", kind(entry_kind::program_file)},
    };
    const auto file = ui.machine.root() / "payload.o";
    qv_test::write_elf_object(
        file, "elf64-x86-64",
        qv_test::res_image({{std::uint16_t{260}, std::uint16_t{134}, 0,
                             payload_test::bzip2(payload_test::archive_bytes(entries))}}));
    auto module = os::load_module_file(L"Z:" + os::from_utf8(file.string()));
    ASSERT_TRUE(module);
    os::set_resource_module(*module);

    const auto result =
        ui.run({action::click{IDC_NEXT}, action::click{IDC_NEXT}, action::click{IDC_NEXT},
                action::click{IDC_NEXT}, action::click{IDC_BACK}, action::click{IDC_NEXT},
                action::click{IDC_EXIT}});
    EXPECT_EQ(result, ui::idok);
    EXPECT_TRUE(ui.session.installed);
    EXPECT_TRUE(ui.input.boxes.empty());
    EXPECT_EQ(ui.pages(), (std::vector<int>{0, 1, 4, 4, 5, 4, 5}));
    const frame_state& after = ui.states[3];
    EXPECT_EQ(after.next, L"Next  >");
    EXPECT_TRUE(after.next_enabled);
    EXPECT_FALSE(after.back_enabled);
    EXPECT_EQ(after.exit, L"Exit");
    const frame_state& end = ui.states[4];
    EXPECT_FALSE(end.next_enabled);
    EXPECT_TRUE(end.back_enabled);
    EXPECT_EQ(end.default_id, IDC_EXIT);
    EXPECT_TRUE(std::filesystem::exists(
        os::host_path(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Lang\\de.dll").value()));
}

} // namespace
