// The start page in a frame, on the headless driver: the language list, the texts for each
// installation state and the language switch.

#include "wizard/dlg_start.h"
#include "wizard/wizard_frame.h"

#include "app/language_locale.h"
#include "app/language_state.h"
#include "app/language_table.h"
#include "platform/ui/combo_box_ex.h"

#include "tests/platform/framework/framework_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace ui = platform::ui;
namespace action = ui::user_action;
using qv_test::framework_session;

// A frame that re-texts its page when asked, as the wizard's frame does with all of them.
class start_frame : public qv_test::frame_dialog, public qv::wizard_frame {
public:
    start_frame(qv::CDlgStart& start) : frame_dialog(start, IDD_START_PAGE), start_(start) {}
    void ApplyLanguage() override {
        ++applied;
        start_.ApplyLanguage();
    }
    int applied = 0;

private:
    qv::CDlgStart& start_;
};

struct shown_texts {
    std::wstring information;
    std::wstring status;
};

shown_texts show_start_page(qv::install_session& session) {
    framework_session ui_session;
    qv::CDlgStart page(session);
    start_frame frame(page);
    shown_texts shown;
    frame.on_init = [&](qv_test::frame_dialog&) {
        page.ApplyLanguage();
        shown = {page.GetDlgItem(IDC_INFO)->GetWindowText(),
                 page.GetDlgItem(IDC_STATUS)->GetWindowText()};
    };
    ui_session.input.script = {action::click{IDC_EXIT}};
    frame.DoModal();
    return shown;
}

TEST(start_page, texts_for_each_installation_state) {
    qv::set_language(qv::languages::english);
    struct {
        qv::install_state state;
        std::wstring information;
        std::wstring status;
    } const cases[] = {
        {qv::install_state::not_installed, L"'Varnolis 2.32g' Installation.",
         L"Click on 'Next' to continue."},
        {qv::install_state::same_version_installed,
         L"'Varnolis 2.32g' is already installed.\r\nDo you confirm Reinstallation ?",
         L"Click on 'Next' to continue or on 'Cancel' to exit Installation."},
        {qv::install_state::older_installed, L"Update from 'Varnolis 2.31' to 'Varnolis 2.32g'.",
         L"Click on 'Next' to continue."},
        {qv::install_state::newer_installed,
         L"'Varnolis 2.32g' Installation.\r\nA more recent Version (Varnolis 2.31) is already "
         L"installed.",
         L"Click on 'Cancel' to exit Installation."},
    };
    for (const auto& c : cases) {
        qv::install_session session;
        session.install_state = c.state;
        session.installed_version_text = L"Varnolis 2.31";
        const shown_texts shown = show_start_page(session);
        EXPECT_EQ(shown.information, c.information) << static_cast<int>(c.state);
        EXPECT_EQ(shown.status, c.status) << static_cast<int>(c.state);
    }
}

TEST(start_page, the_list_offers_the_product_languages_with_flags) {
    qv::set_language(qv::languages::german);
    framework_session ui_session;
    qv::install_session session;
    qv::CDlgStart page(session);
    start_frame frame(page);
    std::vector<std::intptr_t> languages;
    int images = 0, selected = -1, dropped = 0, widest = 0, box_width = 0;
    std::wstring copyright;
    frame.on_init = [&](qv_test::frame_dialog&) {
        page.ApplyLanguage();
        copyright = page.GetDlgItem(IDC_COPYRIGHT)->GetWindowText();
        const auto* list =
            dynamic_cast<ui::combo_box_ex*>(page.GetDlgItem(IDC_LANGUAGE_LIST)->GetSafeHwnd());
        ASSERT_NE(list, nullptr);
        for (const auto& item : list->items()) {
            languages.push_back(item.data);
            widest = std::max(widest, static_cast<int>(item.text.size()) * 6);
        }
        images = static_cast<int>(list->images()->icons.size());
        selected = list->selection();
        dropped = list->dropped_width();
        box_width = list->rect().width();
    };
    ui_session.input.script = {action::click{IDC_EXIT}};
    frame.DoModal();
    EXPECT_EQ(languages, (std::vector<std::intptr_t>{0, 1, 2, 3, 11, 4, 15, 7, 9, 19}));
    EXPECT_EQ(images, 10);
    EXPECT_EQ(selected, 2);
    // The longest name plus 30 pixels, unless the box itself is wider still.
    EXPECT_EQ(dropped, std::max(widest + 30, box_width));
    EXPECT_EQ(copyright, L"Copyright \u00a9 Quorvane. All rights reserved.");
}

TEST(start_page, polish_runs_the_installer_in_english_after_saying_so) {
    qv::set_language(qv::languages::english);
    framework_session ui_session;
    qv::install_session session;
    qv::CDlgStart page(session);
    start_frame frame(page);
    std::vector<std::wstring> app_names;
    std::vector<qv::language_index> languages;
    int list_selection = -1;
    ui_session.input.before_turn = [&](ui::dialog&) {
        app_names.push_back(ui_session.app.m_pszAppName);
        languages.push_back(qv::language_state::instance().language);
        if (auto* list = page.GetDlgItem(IDC_LANGUAGE_LIST))
            list_selection = dynamic_cast<ui::combo_box_ex&>(*list->GetSafeHwnd()).selection();
    };
    frame.on_init = [&](qv_test::frame_dialog&) { page.ApplyLanguage(); };
    // German (index 2 in the list), then Polish (6), then German again and Polish again.
    ui_session.input.script = {
        action::select_item{IDC_LANGUAGE_LIST, 2},
        action::select_item{IDC_LANGUAGE_LIST, 6},
        action::select_item{IDC_LANGUAGE_LIST, 2},
        action::select_item{IDC_LANGUAGE_LIST, 6},
        action::click{IDC_EXIT},
    };
    frame.DoModal();

    ASSERT_EQ(ui_session.input.boxes.size(), 2u);
    for (const auto& box : ui_session.input.boxes) {
        EXPECT_EQ(box.type, ui::mb::ok | ui::mb::icon_asterisk);
        EXPECT_EQ(box.text, L"'Varnolis' will be installed in the selected Langage, but the "
                            L"Installer, still under translation,  shall run in English.");
    }
    EXPECT_EQ(frame.applied, 4);
    ASSERT_GE(languages.size(), 5u);
    EXPECT_EQ(languages[1], qv::languages::german);
    EXPECT_EQ(languages[2], qv::languages::english);
    EXPECT_NE(app_names[1], app_names[0]);
    EXPECT_EQ(app_names[2], app_names[0]);
    // The list still shows Polish.
    EXPECT_EQ(list_selection, 6);
}

} // namespace
