#include "wizard/folder_browser.h"

#include "app/default_folders.h"
#include "app/product_identity.h"
#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/shell_folders.h"

#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace fs = std::filesystem;
namespace os = platform::os;

namespace {

const std::wstring start_menu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu";
const std::wstring common_programs = start_menu + L"\\Programs";

// The browse dialog does not exist yet in the window model: this one records what the browser
// asks of it, one line per request.
class recording_dialog : public qv::browse_dialog {
public:
    explicit recording_dialog(bool has_edit_box = true) : has_edit_box_(has_edit_box) {}

    void select_folder(std::wstring_view path) override { record(L"select ", path); }
    void expand_folder(std::wstring_view path) override { record(L"expand ", path); }
    bool find_edit_box() override {
        record(L"find edit box", L"");
        return has_edit_box_;
    }
    void show_edit_text(std::wstring_view text) override { record(L"edit ", text); }
    void enable_ok(qv::ok_button state) override {
        record(state == qv::ok_button::enabled ? L"ok enabled" : L"ok disabled", L"");
    }
    void show_refusal(std::uint32_t code) override { record(L"refuse ", std::to_wstring(code)); }

    // The requests since the last call.
    std::vector<std::wstring> take() { return std::exchange(requests_, {}); }

private:
    void record(std::wstring_view what, std::wstring_view detail) {
        requests_.push_back(std::wstring(what) + std::wstring(detail));
    }

    bool has_edit_box_;
    std::vector<std::wstring> requests_;
};

using requests = std::vector<std::wstring>;

// A machine with a D: drive holding D:\Apps; the host folder behind D:\.
fs::path machine_with_drive_d(const qv_test::temp_machine& machine) {
    const fs::path root = os::machine_root();
    const fs::path drive = machine.root() / "drive_d";
    fs::create_directories(drive / "Apps");
    fs::create_directory_symlink(drive, root / "dosdevices" / "d:");
    return drive;
}

const std::wstring key_name = qv::product_key_name(qv::product_code);

TEST(folder_browser, install_folder_proposal_follows_the_selection) {
    qv_test::temp_machine machine;
    const fs::path drive = machine_with_drive_d(machine);
    fs::create_directories(drive / "Apps" / "Varnolis 2");

    qv::folder_browser browser;
    browser.prepare(L"D:\\Apps", key_name);
    EXPECT_EQ(browser.path(), L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(browser.dialog_flags(), 0x79u);
    recording_dialog dialog;
    browser.dialog_initialized(dialog);
    EXPECT_EQ(dialog.take(),
              (requests{L"select D:\\Apps\\Varnolis 2", L"expand D:\\Apps\\Varnolis 2",
                        L"find edit box", L"edit D:\\Apps\\Varnolis 2"}));

    const struct {
        std::wstring selected;
        std::wstring proposed;
    } cases[] = {
        {L"D:\\Apps", L"D:\\Apps\\Varnolis 2"},
        {L"D:\\Apps\\Varnolis 2", L"D:\\Apps\\Varnolis 2"},
        {L"D:\\", L"D:\\Varnolis 2"},
        {L"D:\\APPS\\VARNOLIS 2", L"D:\\APPS\\VARNOLIS 2"},
    };
    for (const auto& c : cases) {
        browser.selection_changed(dialog, c.selected);
        EXPECT_EQ(browser.path(), c.proposed) << c.selected;
        EXPECT_EQ(dialog.take(), requests{L"edit " + c.proposed}) << c.selected;
    }

    // A selection without file-system path keeps the proposal.
    browser.selection_changed(dialog, std::nullopt);
    EXPECT_EQ(browser.path(), L"D:\\APPS\\VARNOLIS 2");
    EXPECT_EQ(dialog.take(), requests{L"edit D:\\APPS\\VARNOLIS 2"});
}

TEST(folder_browser, a_two_component_subfolder_completes_a_partial_overlap) {
    qv_test::temp_machine machine;
    const fs::path drive = machine_with_drive_d(machine);
    fs::create_directories(drive / "Apps" / "Quorvane");

    qv::folder_browser browser;
    browser.prepare(L"D:\\Apps\\Quorvane", L"Quorvane\\Varnolis 2");
    EXPECT_EQ(browser.path(), L"D:\\Apps\\Quorvane\\Varnolis 2");
    recording_dialog dialog;
    browser.dialog_initialized(dialog);
    // The nearest existing folder of the proposal is selected.
    EXPECT_EQ(dialog.take(), (requests{L"select D:\\Apps\\Quorvane", L"expand D:\\Apps\\Quorvane",
                                       L"find edit box", L"edit D:\\Apps\\Quorvane\\Varnolis 2"}));

    browser.selection_changed(dialog, L"D:\\Apps");
    EXPECT_EQ(browser.path(), L"D:\\Apps\\Quorvane\\Varnolis 2");
    browser.selection_changed(dialog, L"D:\\Quorvane");
    EXPECT_EQ(browser.path(), L"D:\\Quorvane\\Varnolis 2");
}

TEST(folder_browser, a_subfolder_with_wildcards_is_ignored) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    for (const std::wstring subfolder : {L"Varnolis*", L"Varnolis?2"}) {
        qv::folder_browser browser;
        browser.prepare(L"D:\\Apps", subfolder);
        EXPECT_EQ(browser.subfolder(), L"") << subfolder;
        EXPECT_EQ(browser.path(), L"D:\\Apps") << subfolder;
        EXPECT_EQ(browser.dialog_flags(), 0x49u) << subfolder;

        recording_dialog dialog;
        browser.dialog_initialized(dialog);
        EXPECT_EQ(dialog.take(), (requests{L"select D:\\Apps", L"expand D:\\Apps"})) << subfolder;
        browser.selection_changed(dialog, L"D:\\");
        EXPECT_EQ(browser.path(), L"D:\\") << subfolder;
        EXPECT_EQ(dialog.take(), requests{L"ok enabled"}) << subfolder;
        browser.selection_changed(dialog, std::nullopt);
        EXPECT_EQ(dialog.take(), requests{L"ok disabled"}) << subfolder;
    }
}

TEST(folder_browser, where_the_proposal_starts) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    const std::wstring documents = os::documents_known_folder();
    ASSERT_FALSE(documents.empty());
    const struct {
        std::wstring initial;
        std::wstring expected;
    } cases[] = {
        {L"Apps\\Varnolis", documents + L"\\Varnolis 2"},
        {L"", documents + L"\\Varnolis 2"},
        {L"D:", L"D:\\Varnolis 2"},
        {L"D:\\Apps\\", L"D:\\Apps\\Varnolis 2"},
    };
    for (const auto& c : cases) {
        qv::folder_browser browser;
        browser.prepare(c.initial, key_name);
        EXPECT_EQ(browser.path(), c.expected) << c.initial;
    }
}

TEST(folder_browser, selection_changes_before_the_dialog_is_ready_are_ignored) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    qv::folder_browser browser;
    browser.prepare(L"D:\\Apps", key_name);
    recording_dialog dialog;
    browser.selection_changed(dialog, L"D:\\");
    EXPECT_EQ(browser.path(), L"D:\\Apps\\Varnolis 2");
    EXPECT_EQ(dialog.take(), requests{});
}

TEST(folder_browser, a_proposal_beyond_max_path_selects_nothing) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    const std::wstring long_path = L"D:\\Apps\\" + std::wstring(260, L'x');
    qv::folder_browser browser;
    browser.prepare(long_path, key_name);
    EXPECT_EQ(browser.path(), long_path);
    recording_dialog dialog;
    browser.dialog_initialized(dialog);
    EXPECT_EQ(dialog.take(), requests{L"find edit box"});
}

TEST(folder_browser, a_dialog_without_edit_box_is_only_asked_to_select) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    qv::folder_browser browser;
    browser.prepare(L"D:\\Apps", key_name);
    recording_dialog dialog(false);
    browser.dialog_initialized(dialog);
    EXPECT_EQ(dialog.take(), (requests{L"select D:\\Apps", L"expand D:\\Apps", L"find edit box"}));
    browser.selection_changed(dialog, L"D:\\");
    EXPECT_EQ(dialog.take(), requests{});
}

struct typed_case {
    std::wstring typed;
    std::wstring accepted; // empty: refused
    std::uint32_t code = 0;
};

void expect_typed_names(qv::folder_browser& browser, const std::vector<typed_case>& cases) {
    for (const auto& c : cases) {
        const std::wstring before = browser.path();
        recording_dialog dialog;
        const auto verdict = browser.typed_name_not_found(dialog, c.typed);
        if (c.accepted.empty()) {
            EXPECT_EQ(verdict, qv::typed_name_verdict::keep_dialog_open) << c.typed;
            EXPECT_EQ(dialog.take(), requests{L"refuse " + std::to_wstring(c.code)}) << c.typed;
            EXPECT_EQ(browser.path(), before) << c.typed;
        } else {
            EXPECT_EQ(verdict, qv::typed_name_verdict::close_dialog) << c.typed;
            EXPECT_EQ(dialog.take(), requests{}) << c.typed;
            EXPECT_EQ(browser.path(), c.accepted) << c.typed;
        }
    }
}

TEST(folder_browser, typed_install_folders) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    ASSERT_FALSE(os::set_current_directory(L"D:\\Apps"));
    qv::folder_browser browser;
    browser.prepare(L"D:\\Apps", key_name);
    recording_dialog dialog;
    browser.dialog_initialized(dialog);

    const std::wstring fits = L"D:\\" + std::wstring(256, L'n'); // 259 characters
    expect_typed_names(browser, {
                                    {L"C:", L"C:\\"},
                                    {L"c:\\", L"c:\\"},
                                    {L"  D:\\Apps\\New Folder\\  ", L"D:\\Apps\\New Folder"},
                                    {L"Sub\\..\\Other", L"D:\\Apps\\Other"},
                                    {L"", L"D:\\Apps"},
                                    {L"   ", L"D:\\Apps"},
                                    {fits, fits},
                                    {fits + L"n", L"", 0x800700CEu},
                                    {std::wstring(300, L' '), L"", 0x800700CEu},
                                    {L"D:\\Apps\\New*", L"", 161},
                                    {L"D:\\Apps\\a?b", L"", 161},
                                    {L"D:\\Apps\\a|b", L"", 161},
                                    {L"D:\\Apps\\a<b", L"", 161},
                                });
    EXPECT_EQ(os::current_directory(), L"D:\\Apps");
}

TEST(folder_browser, start_menu_browse_works_relative_to_the_start_menu) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    EXPECT_EQ(browser.root_path(), common_programs);
    EXPECT_EQ(browser.base_folder(), start_menu);

    const std::wstring initial = qv::default_shortcut_folder();
    ASSERT_EQ(initial, common_programs + L"\\Quorvane\\Varnolis 2");
    browser.prepare(initial, key_name);
    EXPECT_EQ(browser.path(), L"Programs\\Quorvane\\Varnolis 2");
    EXPECT_EQ(browser.dialog_flags(), 0x79u);

    recording_dialog dialog;
    browser.dialog_initialized(dialog);
    EXPECT_EQ(dialog.take(), (requests{L"select " + common_programs, L"expand " + common_programs,
                                       L"find edit box", L"edit Programs\\Quorvane\\Varnolis 2"}));

    browser.selection_changed(dialog, common_programs + L"\\Tools");
    EXPECT_EQ(browser.path(), L"Programs\\Tools\\Varnolis 2");
    EXPECT_EQ(dialog.take(), requests{L"edit Programs\\Tools\\Varnolis 2"});
}

TEST(folder_browser, start_menu_proposal_selects_its_existing_part) {
    qv_test::temp_machine machine;
    fs::create_directories(os::host_path(common_programs + L"\\Quorvane").value());
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    browser.prepare(L"", key_name);
    // Without initial folder the proposal starts at the root.
    EXPECT_EQ(browser.path(), L"Programs\\Varnolis 2");

    browser.prepare(common_programs + L"\\Quorvane\\Varnolis 2", key_name);
    recording_dialog dialog;
    browser.dialog_initialized(dialog);
    const std::wstring quorvane = common_programs + L"\\Quorvane";
    EXPECT_EQ(dialog.take(), (requests{L"select " + quorvane, L"expand " + quorvane,
                                       L"find edit box", L"edit Programs\\Quorvane\\Varnolis 2"}));
}

TEST(folder_browser, typed_start_menu_folders_must_lie_inside_the_start_menu) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    ASSERT_FALSE(os::set_current_directory(L"D:\\Apps"));
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    browser.prepare(qv::default_shortcut_folder(), key_name);
    recording_dialog dialog;
    browser.dialog_initialized(dialog);

    expect_typed_names(browser,
                       {
                           {L"Programs\\Games", start_menu + L"\\Programs\\Games"},
                           {L" Programs\\New\\ ", start_menu + L"\\Programs\\New"},
                           {common_programs + L"\\Quorvane", common_programs + L"\\Quorvane"},
                           {L"D:\\Apps", L"", 161},
                           {L"..\\Other", L"", 161},
                           {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu Other", L"", 161},
                           {L"C:", L"", 161},
                           // Empty stands for the current directory, which is outside.
                           {L"", L"", 161},
                           {L"Programs\\Q*", L"", 161},
                       });
    // The base folder was current only while a name was qualified.
    EXPECT_EQ(os::current_directory(), L"D:\\Apps");
}

TEST(folder_browser, a_start_menu_that_cannot_be_made_current_refuses_typed_names) {
    qv_test::temp_machine machine;
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    browser.prepare(L"", key_name);
    fs::remove_all(os::host_path(start_menu).value());
    expect_typed_names(browser, {{L"Programs\\Games", L"", 2}});
}

TEST(folder_browser, the_chosen_folder_after_the_dialog) {
    qv_test::temp_machine machine;
    machine_with_drive_d(machine);
    {
        qv::folder_browser browser;
        browser.prepare(L"D:\\Apps", key_name);
        EXPECT_EQ(browser.chosen_folder(std::nullopt), std::nullopt);
        EXPECT_EQ(browser.chosen_folder(L"D:\\Apps"), L"D:\\Apps");
        EXPECT_EQ(browser.path(), L"D:\\Apps");
    }
    {
        // A typed name that closed the dialog wins over the tree's selection.
        qv::folder_browser browser;
        browser.prepare(L"D:\\Apps", key_name);
        recording_dialog dialog;
        browser.dialog_initialized(dialog);
        ASSERT_EQ(browser.typed_name_not_found(dialog, L"D:\\Apps\\Typed"),
                  qv::typed_name_verdict::close_dialog);
        EXPECT_EQ(browser.chosen_folder(L"D:\\Apps"), L"D:\\Apps\\Typed");
        // A new run forgets it.
        browser.prepare(L"D:\\Apps", key_name);
        EXPECT_EQ(browser.chosen_folder(L"D:\\"), L"D:\\");
    }
}

TEST(folder_browser, start_menu_result_relative_to_the_start_menu) {
    qv_test::temp_machine machine;
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    browser.prepare(qv::default_shortcut_folder(), key_name);
    const auto chosen = browser.chosen_folder(common_programs + L"\\Quorvane\\Varnolis 2");
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, common_programs + L"\\Quorvane\\Varnolis 2");

    const struct {
        std::wstring folder;
        std::wstring relative;
    } cases[] = {
        {*chosen, L"Programs\\Quorvane\\Varnolis 2"},
        {common_programs, L"Programs"},
        {start_menu, L""},
        {L"D:\\Elsewhere", L"D:\\Elsewhere"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(browser.relative_to_base(c.folder), c.relative) << c.folder;
}

TEST(folder_browser, without_the_start_menu_programs_folder_the_tree_starts_at_the_desktop) {
    qv_test::temp_machine machine;
    fs::remove_all(os::host_path(common_programs).value());
    qv::folder_browser browser = qv::folder_browser::for_start_menu();
    EXPECT_EQ(browser.root_path(), std::nullopt);
    EXPECT_EQ(browser.base_folder(), std::nullopt);
    EXPECT_EQ(browser.relative_to_base(L"C:\\Somewhere"), L"C:\\Somewhere");
}

} // namespace
