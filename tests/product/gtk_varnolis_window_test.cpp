#include "platform/os/processes.h"

#include "tests/support/virtual_display.h"

#include "tests/product/varnolis_program.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace os = platform::os;

namespace {

// The product's window as the user meets it on a display: titled with the product's name and
// version, found the way the GTK tests find windows.
class varnolis_window : public testing::Test {
protected:
    void SetUp() override {
        auto started = os::start_process(L"\"" + varnolis_test::program_on_z_drive() + L"\"", L"");
        ASSERT_TRUE(started) << started.error().message();
        product.emplace(std::move(*started));
        const std::string found = qv_test::host_output(
            {"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Varnolis 2\\.32g$"});
        window = found.substr(0, found.find('\n'));
    }

    qv_test::virtual_display display;
    qv_test::temp_machine machine;
    std::optional<os::process> product;
    std::string window;
};

TEST_F(varnolis_window, is_counted_while_open_and_ends_when_closed) {
    ASSERT_FALSE(window.empty());
    std::filesystem::create_directories(QV_SCREENSHOT_DIR);
    qv_test::host_output(
        {"import", "-window", "root", std::string(QV_SCREENSHOT_DIR) + "/varnolis_window.png"});
    ASSERT_TRUE(varnolis_test::wait_for_instance_count(2));

    qv_test::host_output({"xdotool", "windowclose", window});
    ASSERT_EQ(product->wait(os::infinite_timeout).value(), os::wait_status::object_0);
    EXPECT_EQ(product->exit_code().value(), 0u);
    EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 1);
}

TEST_F(varnolis_window, a_termination_signal_closes_the_window_and_ends_the_program) {
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(varnolis_test::wait_for_instance_count(2));

    ASSERT_EQ(::kill(static_cast<pid_t>(product->id()), SIGTERM), 0);
    ASSERT_EQ(product->wait(os::infinite_timeout).value(), os::wait_status::object_0);
    EXPECT_EQ(product->exit_code().value(), 0u);
    EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 1);
}

} // namespace
