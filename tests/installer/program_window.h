#pragma once
// A window of the setup program on the test's display, as the user meets it: found among the
// program's shown windows, given keys, typing and clicks through xdotool, and captured with
// ImageMagick's import (the window alone) into the build's screenshot folder once it has settled.

#include "tests/installer/setup_window_process.h"
#include "tests/support/virtual_display.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace setup_test {

// The windows the program shows now.
inline std::vector<std::string> shown_windows(const setup_process& program) {
    std::string found;
    try {
        found = qv_test::host_output(
            {"xdotool", "search", "--onlyvisible", "--pid", std::to_string(program.id())});
    } catch (const std::runtime_error&) {
        // xdotool fails when no window matches.
        return {};
    }
    std::vector<std::string> windows;
    std::istringstream lines(found);
    for (std::string line; std::getline(lines, line);)
        windows.push_back(line);
    return windows;
}

class program_window {
public:
    explicit program_window(std::string id) : id_(std::move(id)) {}

    const std::string& id() const { return id_; }

    std::string title() const {
        const std::string name = qv_test::host_output({"xdotool", "getwindowname", id_});
        return name.substr(0, name.find('\n'));
    }

    // Keys as xdotool names them ("Return", "shift+Tab"), given to this window.
    void press(const std::string& keys) const {
        focus();
        qv_test::host_output({"xdotool", "key", keys});
    }

    void type(const std::string& text) const {
        focus();
        qv_test::host_output({"xdotool", "type", text});
    }

    // A left click at a point given as fractions of the window's width and height.
    void click_at(double x, double y) const {
        const std::string geometry =
            qv_test::host_output({"xdotool", "getwindowgeometry", "--shell", id_});
        const auto value = [&geometry](const std::string& name) {
            const auto at = geometry.find(name + "=");
            if (at == std::string::npos)
                throw std::runtime_error("xdotool gave no " + name + " of the window");
            return std::stoi(geometry.substr(at + name.size() + 1));
        };
        focus();
        qv_test::host_output({"xdotool", "mousemove", "--window", id_,
                              std::to_string(static_cast<int>(value("WIDTH") * x)),
                              std::to_string(static_cast<int>(value("HEIGHT") * y)), "click", "1"});
    }

    // Waits until the window shows something other than at its previous capture and then holds
    // still for several looks in a row, and keeps that as <name>.png in the screenshot folder.
    // A key that never took effect so fails the test instead of being captured unnoticed.
    void capture(const std::string& name) {
        constexpr int settled_looks = 3;
        std::string seen;
        int unchanged = 0;
        wait_until(
            [&] {
                std::string now = picture();
                unchanged = now == seen ? unchanged + 1 : 0;
                seen = std::move(now);
                return seen != last_capture_ && unchanged >= settled_looks;
            },
            "the window to change and settle for " + name);
        last_capture_ = std::move(seen);
        std::filesystem::create_directories(QV_SCREENSHOT_DIR);
        qv_test::host_output({"import", "-silent", "-window", id_, "-strip", "-define",
                              "png:exclude-chunks=date,time",
                              std::string(QV_SCREENSHOT_DIR) + "/" + name + ".png"});
    }

private:
    void focus() const { qv_test::host_output({"xdotool", "windowfocus", "--sync", id_}); }

    // The window's pixels as PPM, which holds no time stamps: equal pixels give equal bytes.
    std::string picture() const {
        try {
            return qv_test::host_output(
                {"import", "-silent", "-window", id_, "-depth", "8", "ppm:-"});
        } catch (const std::runtime_error&) {
            throw std::runtime_error("cannot look at window " + id_ + " (has it gone?)");
        }
    }

    std::string id_;
    std::string last_capture_;
};

// Waits for a shown window of the program that is none of `known`.
inline program_window wait_for_window(setup_process& program,
                                      const std::vector<std::string>& known = {}) {
    std::string found;
    wait_until(
        [&] {
            program.expect_running("a window of it was awaited");
            for (const std::string& window : shown_windows(program)) {
                if (std::find(known.begin(), known.end(), window) == known.end())
                    found = window;
            }
            return !found.empty();
        },
        "a new window of setup");
    return program_window(found);
}

// Waits until the window is no longer shown, so that keys meant for the window under it reach
// that one once it takes input again.
inline void wait_until_closed(setup_process& program, const program_window& window) {
    wait_until(
        [&] {
            program.expect_running("window " + window.id() + " was to close");
            const std::vector<std::string> shown = shown_windows(program);
            return std::find(shown.begin(), shown.end(), window.id()) == shown.end();
        },
        "window " + window.id() + " to close");
}

} // namespace setup_test
