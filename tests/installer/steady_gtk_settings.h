#pragma once
// GTK settings for the programs a test starts: no blinking caret and no animations, so that a
// window at rest looks the same from one look to the next. XDG_CONFIG_HOME names a folder of the
// object's own while it lives; there is no settings daemon on the test's display to override it.

#include "tests/support/scratch_folder.h"
#include "tests/support/temp_machine.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace setup_test {

class steady_gtk_settings {
public:
    steady_gtk_settings() {
        std::filesystem::create_directories(folder_.path() / "gtk-3.0");
        qv_test::write_host_file(
            folder_.path() / "gtk-3.0" / "settings.ini",
            "[Settings]\ngtk-cursor-blink=false\ngtk-enable-animations=false\n");
        ::setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1);
    }
    ~steady_gtk_settings() { ::unsetenv("XDG_CONFIG_HOME"); }
    steady_gtk_settings(const steady_gtk_settings&) = delete;
    steady_gtk_settings& operator=(const steady_gtk_settings&) = delete;

private:
    qv_test::scratch_folder folder_{"qv-gtk-"};
};

} // namespace setup_test
