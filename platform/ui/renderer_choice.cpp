#include "platform/ui/renderer_choice.h"

#include "platform/ui/gtk_display.h"
#include "platform/ui/gtk_renderer.h"
#include "platform/ui/headless_renderer.h"

#include <cstdlib>

namespace platform::ui {

namespace {

std::optional<std::string_view> environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string_view(value);
}

} // namespace

platform::os::result<renderer_kind> choose_renderer(std::optional<std::string_view> qv_ui,
                                                    display_presence display) {
    if (!qv_ui || qv_ui->empty())
        return display == display_presence::available ? renderer_kind::gtk
                                                      : renderer_kind::unattended;
    if (*qv_ui == "gtk")
        return renderer_kind::gtk;
    if (*qv_ui == "unattended")
        return renderer_kind::unattended;
    if (*qv_ui == "headless")
        return renderer_kind::headless;
    return platform::os::win32_error::invalid_parameter;
}

platform::os::result<renderer_kind> choose_renderer() {
    const bool has_display = environment("DISPLAY") || environment("WAYLAND_DISPLAY");
    return choose_renderer(environment("QV_UI"),
                           has_display ? display_presence::available : display_presence::absent);
}

platform::os::result<std::unique_ptr<renderer>> make_renderer(renderer_kind kind, driver& input) {
    if (kind == renderer_kind::gtk) {
        if (open_gtk_display() == display_state::unavailable)
            return platform::os::win32_error::not_ready;
        return std::unique_ptr<renderer>(std::make_unique<gtk_renderer>());
    }
    return std::unique_ptr<renderer>(std::make_unique<headless_renderer>(input));
}

} // namespace platform::ui
