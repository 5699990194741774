// The application object run in the test's process, as the program runs it, with a scripted
// user at the headless driver: its start-up stops, the product running while the user retries,
// and an advanced installation whose folders the next run of the built program reinstalls into.

#include "app/install_app.h"
#include "platform/framework/win_app.h"
#include "platform/os/machine.h"
#include "platform/os/processes.h"
#include "platform/ui/folder_browse_dialog.h"
#include "platform/ui/headless_renderer.h"
#include "resources/dialog_ids.h"
#include "wizard/framework_providers.h"
#include "wizard/system_error_text.h"

#include "tests/installer/setup_process.h"
#include "tests/platform/framework/framework_fixture.h"
#include "tests/product/varnolis_program.h"
#include "tests/support/child_process.h"
#include "tests/support/machine_snapshot.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>

namespace {

namespace fw = platform::framework;
namespace os = platform::os;
namespace ui = platform::ui;
namespace action = ui::user_action;

constexpr wchar_t caption[] = L"Installer – Varnolis 2.32g";

// The program's start as far as the application object: the providers, then the object, whose
// run the test's user drives.
struct application_run {
    qv_test::temp_machine machine;
    qv_test::framework_driver input;
    ui::desktop session{std::make_unique<ui::headless_renderer>(input)};

    application_run() {
        os::machine_root();
        qv::install_framework_providers();
    }

    // InitInstance's result with the script; what the session ended with is kept below.
    bool run(std::deque<ui::driver_action> script) {
        input.script = std::move(script);
        qv::CInstallApp app(session);
        const bool result = app.InitInstance();
        installed = app.session().installed;
        install_folder = app.session().install_folder;
        return result;
    }

    bool installed = false;
    std::wstring install_folder;
};

TEST(install_app, without_the_processor_check_it_stops_with_the_unexpected_error) {
    application_run program;
    EXPECT_FALSE(program.run({}));
    ASSERT_EQ(program.input.boxes.size(), 1u);
    EXPECT_EQ(program.input.boxes[0].text, qv::system_error_text(0x8000FFFF));
    EXPECT_EQ(program.input.boxes[0].type & ui::mb::icon_mask, ui::mb::icon_exclamation);
}

// Answers the question about the running product with Retry, after closing the product.
class closing_user : public qv_test::framework_driver {
public:
    explicit closing_user(const os::process& product) : product_(product) {}

    int answer_message_box(const ui::message_box& box) override {
        const int answer = framework_driver::answer_message_box(box);
        if (boxes.size() == 1)
            varnolis_test::close_product(product_);
        return answer;
    }

private:
    const os::process& product_;
};

TEST(install_app, retry_goes_on_once_the_product_has_closed) {
    qv_test::temp_machine machine;
    const os::process product = varnolis_test::start_running_product();
    qv::set_processor_checked();
    qv::install_framework_providers();
    closing_user input(product);
    ui::desktop session{std::make_unique<ui::headless_renderer>(input)};
    // Retry, then leave the wizard from its first page.
    input.answers = {ui::idretry, ui::idyes};
    input.script = {action::click{IDC_EXIT}};
    qv::CInstallApp app(session);
    EXPECT_FALSE(app.InitInstance());
    ASSERT_GE(input.boxes.size(), 2u);
    EXPECT_EQ(input.boxes[0].text, L"You should close 'Varnolis' before continuing Installation.");
    EXPECT_EQ(input.boxes[0].type, ui::mb::retry_cancel | ui::mb::icon_exclamation);
    EXPECT_EQ(input.boxes[0].caption, caption);
    // The wizard opened after the retry: leaving it asks.
    EXPECT_NE(input.boxes[1].text.find(L"Installation is not complete."), std::wstring::npos);
}

TEST(install_app, an_advanced_installation_and_the_next_run_in_the_same_folders) {
    application_run program;
    // In a process of its own, which ends with the installation as the program does: while it
    // lives it counts among the programs the next run waits for.
    const int installation = qv_test::run_in_child([&program] {
        qv::set_processor_checked();
        const bool result = program.run({
            action::click{IDC_NEXT},
            action::set_check{IDC_ADVANCED_METHOD, ui::check_state::checked},
            action::click{IDC_NEXT},
            action::type_text{IDC_FOLDER, L"C:\\Apps\\Varnolis 2"},
            action::click{IDC_NEXT},
            // The Start-menu folder changes only through the browser.
            action::click{IDC_BROWSE},
            action::type_text{ui::folder_browse_dialog::edit_id,
                              L"C:\\ProgramData\\Microsoft\\Windows\\Start "
                              L"Menu\\Programs\\Tools\\Varnolis"},
            action::click{ui::idok},
            action::set_check{IDC_DESKTOP_SHORTCUT, ui::check_state::unchecked},
            action::click{IDC_NEXT},
            action::click{IDC_NEXT},
            action::click{IDC_NEXT},
            action::click{IDC_EXIT},
        });
        if (result || !program.input.boxes.empty())
            return 2;
        return program.installed ? 0 : 1;
    });
    ASSERT_EQ(installation, 0);

    const auto installed = qv_test::take_machine_snapshot();
    EXPECT_TRUE(installed.entries.contains("C:\\Apps\\Varnolis 2\\Varnolis.exe"));
    EXPECT_TRUE(installed.entries.contains("C:\\Apps\\Varnolis 2\\Uninstall.ulog"));
    EXPECT_FALSE(installed.entries.contains("C:\\Program Files\\Quorvane"));
    EXPECT_TRUE(installed.entries.contains(
        "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Tools\\Varnolis\\Varnolis "
        "2.32g.lnk"));
    EXPECT_FALSE(installed.entries.contains("C:\\users\\Public\\Desktop\\Varnolis 2.32g.lnk"));

    // The built program, run next, finds the installation and its folders.
    const qv_test::setup_run next = qv_test::run_setup();
    EXPECT_EQ(next.exit_code, 0) << next.output;
    EXPECT_NE(next.output.find("'Varnolis 2.32g' is already installed."), std::string::npos);
    EXPECT_NE(next.output.find("Installation Folder: \"C:\\Apps\\Varnolis 2\"."), std::string::npos)
        << next.output;
    EXPECT_NE(next.output.find("(Folder \"C:\\ProgramData\\Microsoft\\Windows\\Start "
                               "Menu\\Programs\\Tools\\Varnolis\")"),
              std::string::npos)
        << next.output;
}

} // namespace
