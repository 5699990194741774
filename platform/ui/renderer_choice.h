#pragma once
// Which renderer the program uses: QV_UI=gtk|unattended|headless; without it, gtk when a display
// is available (DISPLAY or WAYLAND_DISPLAY set), else unattended.

#include "platform/os/result.h"
#include "platform/ui/driver.h"
#include "platform/ui/renderer.h"

#include <memory>
#include <optional>
#include <string_view>

namespace platform::ui {

enum class renderer_kind { gtk, unattended, headless };
enum class display_presence { available, absent };

// An unknown QV_UI value: ERROR_INVALID_PARAMETER. An empty one counts as unset.
platform::os::result<renderer_kind> choose_renderer(std::optional<std::string_view> qv_ui,
                                                    display_presence display);
// The same from the process's environment.
platform::os::result<renderer_kind> choose_renderer();

// The renderer of that kind. unattended and headless are the headless renderer over the given
// driver (the caller picks the driver: scripted for tests, the unattended one for a run).
// gtk is the GTK renderer once the display opens; when it cannot be opened (no DISPLAY, or no
// X server behind it) it fails with ERROR_NOT_READY rather than silently running without
// windows.
platform::os::result<std::unique_ptr<renderer>> make_renderer(renderer_kind kind, driver& input);

} // namespace platform::ui
