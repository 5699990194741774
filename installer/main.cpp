// The installer's program: the platform's UI session, the process checks of the program's
// start, then the application object, which runs the whole installation. The program takes no
// options; QV_UI chooses between a window and an unattended run.

#include "app/install_app.h"
#include "app/product_identity.h"
#include "app/startup.h"
#include "platform/framework/win_app.h"
#include "platform/os/error.h"
#include "platform/os/unicode.h"
#include "platform/ui/desktop.h"
#include "platform/ui/message_box.h"
#include "platform/ui/renderer_choice.h"
#include "platform/ui/unattended_driver.h"
#include "wizard/framework_providers.h"

#include <iostream>

namespace {

namespace fw = platform::framework;
namespace os = platform::os;
namespace ui = platform::ui;

constexpr int no_session_exit_code = 1;
constexpr std::uint32_t initialization_error_type =
    0x10000 /* MB_SETFOREGROUND */ | 0x2000 /* MB_TASKMODAL */ | ui::mb::icon_hand;

// The checks that run before the application object exists; an exit code when the program must
// stop.
std::optional<int> check_process(ui::desktop& session) {
    if (!qv::processor_supports_sse2()) {
        ui::show_message_box(session, ui::message_box(std::wstring(qv::incompatible_processor_text),
                                                      std::wstring(ui::untitled_caption),
                                                      ui::mb::icon_hand, nullptr));
        return qv::incompatible_processor_exit_code;
    }
    qv::set_processor_checked();
    if (qv::initialize_runtime()) {
        ui::show_message_box(session, ui::message_box(std::wstring(qv::initialization_error_text),
                                                      std::wstring(ui::untitled_caption),
                                                      initialization_error_type, nullptr));
        return qv::initialization_error_exit_code;
    }
    return std::nullopt;
}

} // namespace

int main() {
    const auto kind = ui::choose_renderer();
    if (!kind) {
        std::cerr << "setup: QV_UI must be gtk, unattended or headless\n";
        return no_session_exit_code;
    }
    ui::unattended_driver unattended_user(std::cout);
    auto view = ui::make_renderer(*kind, unattended_user);
    if (!view) {
        std::cerr << "setup: no window can be shown: "
                  << os::to_utf8(os::error_text(view.error().value()))
                  << " (set QV_UI=unattended to run without one)\n";
        return no_session_exit_code;
    }
    ui::desktop session(std::move(*view));
    if (const auto stop = check_process(session))
        return *stop;
    qv::application_id();
    qv::install_framework_providers();

    qv::CInstallApp app(session);
    const int exit_code = fw::AfxWinMain(app);
    // Without a window the run is a command: its exit code tells whether the product was
    // installed.
    if (*kind != ui::renderer_kind::gtk)
        return app.session().installed ? 0 : 1;
    return exit_code;
}
