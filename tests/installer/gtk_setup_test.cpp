// The setup program in a real window on a display of the test's own, driven as a user drives it:
// the quick and the advanced installation, and every page in each installer language, each page
// kept as a screenshot of the window (<build>/screenshots/setup_<run>_<step>_<page>.png).

#include "platform/os/machine.h"

#include "tests/installer/program_window.h"
#include "tests/installer/setup_window_process.h"
#include "tests/installer/steady_gtk_settings.h"
#include "tests/support/host_locales.h"
#include "tests/support/temp_machine.h"
#include "tests/support/virtual_display.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;
namespace os = platform::os;
using setup_test::program_window;

constexpr wchar_t default_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";
constexpr wchar_t chosen_folder[] = L"C:\\Apps\\Varnolis 2";
constexpr char chosen_folder_typed[] = "C:\\Apps\\Varnolis 2";

// The Advanced radio button in the frame, as fractions of the window: in dialog units the pages
// start at the banner's right edge (64), the method page widens the frame to 64 + 279 units and
// its height stays 139; the button spans 14 to 263 and 36 to 44 on the page: the click lands on
// its text, on the middle of its row.
constexpr double advanced_method_x = (64 + 14 + 60) / 343.0;
constexpr double advanced_method_y = (36 + 4) / 139.0;

fs::path on_machine(const std::wstring& windows_path) {
    auto host = os::host_path(windows_path);
    if (!host)
        throw std::system_error(host.error(), "no host path");
    return *host;
}

fs::path installed_file(const std::wstring& folder, const wchar_t* name) {
    return on_machine(folder + L"\\" + name);
}

// The links on the desktop of all users and on the user's own, by name.
std::vector<std::string> desktop_links() {
    std::vector<std::string> links;
    for (const std::wstring& desktop : {std::wstring(L"C:\\users\\Public\\Desktop"),
                                        L"C:\\users\\" + os::user_name() + L"\\Desktop"}) {
        std::error_code missing;
        for (const auto& entry : fs::directory_iterator(on_machine(desktop), missing)) {
            if (entry.path().extension() == ".lnk")
                links.push_back(entry.path().filename().string());
        }
    }
    std::sort(links.begin(), links.end());
    return links;
}

class setup_wizard : public testing::Test {
protected:
    // Starts the program with the user's language `lang` and waits for its wizard.
    void start(const char* lang, const std::string& run) {
        qv_test::set_user_locale(lang);
        ::setenv("QV_UI", "gtk", 1);
        run_ = run;
        setup.emplace();
        wizard.emplace(setup_test::wait_for_window(*setup));
    }

    // The next screenshot of the run: setup_<run>_<step>_<page>.png.
    void capture(program_window& window, const std::string& page) {
        window.capture("setup_" + run_ + "_" + std::to_string(++step_) + "_" + page);
    }
    void capture(const std::string& page) { capture(*wizard, page); }

    void next_page(const std::string& page) {
        wizard->press("Return");
        capture(page);
    }

    // With the mouse: a click on the Advanced radio button's text.
    void click_advanced_method() {
        wizard->click_at(advanced_method_x, advanced_method_y);
        capture("method_advanced");
    }

    // With the keyboard: Shift+Tab from Next reaches the method group's tab stop, Quick; Down
    // moves the choice to Advanced, the next button of the group.
    void arrow_to_advanced_method() {
        wizard->press("shift+Tab");
        wizard->press("Down");
        capture("method_advanced");
    }

    // Install on the install page. The uninstall log is the installation's last file; the page
    // then settles with Next enabled. The end page's default button is Exit.
    void install_and_leave(const std::wstring& folder) {
        wizard->press("Return");
        setup_test::wait_for_file(*setup, installed_file(folder, L"Uninstall.ulog"));
        capture("installed");
        next_page("end");
        wizard->press("Return");
    }

    // Esc asks whether to leave; the question is captured and returned for the answer.
    program_window ask_to_leave() {
        wizard->press("Escape");
        program_window question = setup_test::wait_for_window(*setup, {wizard->id()});
        capture(question, "confirm_exit");
        return question;
    }

    qv_test::virtual_display display;
    qv_test::temp_machine machine;
    setup_test::steady_gtk_settings settings;
    std::optional<setup_test::setup_process> setup;
    std::optional<program_window> wizard;

private:
    std::string run_;
    int step_ = 0;
};

TEST_F(setup_wizard, quick_installation_with_the_return_key_alone) {
    start("en_US.UTF-8", "quick");
    EXPECT_EQ(wizard->title(), "Installer \u2013 Varnolis 2.32g");
    capture("start");
    next_page("method");
    next_page("install");
    install_and_leave(default_folder);

    EXPECT_EQ(setup->wait_for_exit(), 0);
    EXPECT_TRUE(fs::is_regular_file(installed_file(default_folder, L"Varnolis.exe")));
    EXPECT_TRUE(fs::is_regular_file(installed_file(default_folder, L"Uninstall.ulog")));
    EXPECT_EQ(desktop_links(), std::vector<std::string>{"Varnolis 2.32g.lnk"});
}

// Tabbing into the folder's edit selects its text, which typing then replaces; Shift+Tab from
// Next reaches the desktop check box last in the shortcut page's tab order.
TEST_F(setup_wizard, advanced_installation_into_a_typed_folder_without_a_desktop_link) {
    start("en_US.UTF-8", "advanced");
    capture("start");
    next_page("method");
    arrow_to_advanced_method();
    next_page("folder");
    wizard->press("shift+Tab");
    wizard->press("shift+Tab");
    wizard->type(chosen_folder_typed);
    capture("folder_typed");
    next_page("shortcut");
    wizard->press("shift+Tab");
    wizard->press("space");
    capture("shortcut_no_desktop");
    next_page("install");
    install_and_leave(chosen_folder);

    EXPECT_EQ(setup->wait_for_exit(), 0);
    EXPECT_TRUE(fs::is_regular_file(installed_file(chosen_folder, L"Varnolis.exe")));
    EXPECT_TRUE(fs::is_regular_file(installed_file(chosen_folder, L"Uninstall.ulog")));
    EXPECT_FALSE(fs::exists(installed_file(default_folder, L"Varnolis.exe")));
    EXPECT_EQ(desktop_links(), std::vector<std::string>{});
}

enum class finish { install, leave };

struct installer_language {
    const char* tag;
    const char* lang;
    // The title's first part, "Installer" in the language.
    const char* installer;
    finish how;
};

// Leaving is shown in English, whose end page the tests above show.
const installer_language installer_languages[] = {
    {"fr", "fr_FR.UTF-8", "Installeur", finish::install},
    {"en", "en_US.UTF-8", "Installer", finish::leave},
    {"de", "de_DE.UTF-8", "Installationsprogramm", finish::install},
    {"es", "es_ES.UTF-8", "Instalador", finish::install},
    {"pt", "pt_PT.UTF-8", "Instalador", finish::install},
    {"tr", "tr_TR.UTF-8", "Yükleyici", finish::install},
    {"ro", "ro_RO.UTF-8", "Program de instalare", finish::install},
    {"it", "it_IT.UTF-8", "Programma di installazione", finish::install},
    {"hu", "hu_HU.UTF-8", "Telepítő", finish::install},
};

void PrintTo(const installer_language& language, std::ostream* out) {
    *out << language.lang;
}

class setup_in_language : public setup_wizard,
                          public testing::WithParamInterface<installer_language> {};

// Every page of the advanced method in the user's language, and the question on leaving: No
// (its default) keeps the wizard, Yes ends the program without installing anything.
TEST_P(setup_in_language, shows_every_page_in_the_users_language) {
    const installer_language& language = GetParam();
    start(language.lang, language.tag);
    EXPECT_EQ(wizard->title(), std::string(language.installer) + " \u2013 Varnolis 2.32g");
    capture("start");
    next_page("method");
    click_advanced_method();
    next_page("folder");
    next_page("shortcut");
    next_page("install");
    program_window question = ask_to_leave();

    if (language.how == finish::install) {
        question.press("Return");
        setup_test::wait_until_closed(*setup, question);
        install_and_leave(default_folder);
        EXPECT_EQ(setup->wait_for_exit(), 0);
        EXPECT_TRUE(fs::is_regular_file(installed_file(default_folder, L"Varnolis.exe")));
    } else {
        question.press("shift+Tab");
        question.press("Return");
        EXPECT_EQ(setup->wait_for_exit(), 0);
        EXPECT_FALSE(fs::exists(installed_file(default_folder, L"Varnolis.exe")));
    }
}

INSTANTIATE_TEST_SUITE_P(installer_languages, setup_in_language,
                         testing::ValuesIn(installer_languages),
                         [](const testing::TestParamInfo<installer_language>& info) {
                             return std::string(info.param.tag);
                         });

} // namespace
