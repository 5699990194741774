#pragma once
// The user at a real window under the test's X server: xdotool for keys, clicks and typing,
// ImageMagick's import for screenshots (kept in <build>/screenshots), run beside the modal loop.

#include "platform/ui/desktop.h"
#include "platform/ui/dialog.h"
#include "tests/support/virtual_display.h"

#include <gtk/gtk.h>

#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace qv_test {

// The user's side (xdotool, import) runs beside the modal loop, which owns this thread. When a
// step fails the dialog (or, given the session, whichever modal dialog runs) is ended from the
// loop's thread, so that the test fails instead of waiting for input that never comes.
class user_at_display {
public:
    static constexpr std::intptr_t gave_up = -1;

    user_at_display(platform::ui::dialog& target, std::function<void()> steps)
        : user_at_display([&target] { return &target; }, std::move(steps)) {}
    user_at_display(platform::ui::desktop& session, std::function<void()> steps)
        : user_at_display([&session] { return session.active_modal(); }, std::move(steps)) {}
    user_at_display(std::function<platform::ui::dialog*()> target, std::function<void()> steps)
        : target_(std::move(target)), worker_([this, steps] {
              try {
                  steps();
              } catch (const std::exception& failed) {
                  failure_ = failed.what();
                  g_idle_add(&user_at_display::give_up, this);
              }
          }) {}
    ~user_at_display() {
        if (worker_.joinable())
            worker_.join();
    }
    user_at_display(const user_at_display&) = delete;
    user_at_display& operator=(const user_at_display&) = delete;

    // What went wrong on the user's side, empty when nothing did.
    std::string join() {
        worker_.join();
        return failure_;
    }

private:
    static gboolean give_up(gpointer data) {
        if (platform::ui::dialog* running = static_cast<user_at_display*>(data)->target_())
            running->end(gave_up);
        return G_SOURCE_REMOVE;
    }

    std::function<platform::ui::dialog*()> target_;
    std::string failure_;
    std::thread worker_;
};

inline std::string window_named(const std::string& title) {
    std::string found = qv_test::host_output(
        {"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + title + "$"});
    return found.substr(0, found.find('\n'));
}

inline void screenshot(const std::string& name) {
    std::filesystem::create_directories(QV_SCREENSHOT_DIR);
    qv_test::host_output(
        {"import", "-window", "root", std::string(QV_SCREENSHOT_DIR) + "/" + name + ".png"});
}

inline void xdotool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "xdotool");
    qv_test::host_output(arguments);
}

} // namespace qv_test
