// Varnolis.exe, the installed product as the installer meets it: it counts itself among the
// programs of its application id while it runs, registers and unregisters itself when asked, and
// otherwise runs until it is closed.

#include "app/instance_counter.h"
#include "app/product_identity.h"
#include "platform/os/unicode.h"
#include "product/varnolis/command.h"
#include "product/varnolis/messages.h"
#include "product/varnolis/own_version.h"
#include "product/varnolis/product_window.h"
#include "product/varnolis/registration.h"
#include "product/varnolis/termination_signals.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace {

constexpr int usage_exit_code = 2;

// The window when there is a display, else nothing to show: the program then runs until a
// termination signal, so that it can still be counted and ended.
int run_until_closed(const varnolis::termination_signals& signals) {
    const std::wstring title = varnolis::own_version_info().display_version_text();
    if (varnolis::run_product_window(title, signals) == varnolis::window_run::no_display)
        signals.wait();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(platform::os::from_utf8(argv[i]));
    const auto parsed = varnolis::parse_command(arguments);
    const auto* request = std::get_if<varnolis::command>(&parsed);

    // Held back before the registration below, so that no signal can end the program between
    // its registration and the wait that turns a signal into a normal exit.
    std::optional<varnolis::termination_signals> signals;
    if (request && request->what == varnolis::action::run_until_closed)
        signals.emplace();

    // The registration lasts until the program ends: while it runs, the installer asks the user
    // to close it.
    qv::running_instance_count(qv::application_id());

    if (!request) {
        varnolis::report(std::get<varnolis::command_error>(parsed).message +
                         L". Usage: Varnolis.exe [/Register /Background [/update=<16 hexadecimal "
                         L"digits>] | /Unregister]");
        return usage_exit_code;
    }
    switch (request->what) {
    case varnolis::action::register_product:
        return varnolis::run_registration(*request);
    case varnolis::action::unregister_product:
        return varnolis::run_unregistration();
    case varnolis::action::run_until_closed:
        break;
    }
    return run_until_closed(*signals);
}
