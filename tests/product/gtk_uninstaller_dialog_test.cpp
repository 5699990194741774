// Uninstall.exe on a display: it asks in a message box before it removes anything and tells the
// outcome in another.

#include "platform/os/processes.h"

#include "tests/product/installed_product.h"
#include "tests/support/machine_snapshot.h"
#include "tests/support/virtual_display.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <thread>

namespace os = platform::os;
using namespace uninstaller_test;

namespace {

class uninstaller_dialog : public testing::Test {
protected:
    void SetUp() override {
        before = qv_test::take_machine_snapshot();
        install_product();
        installed = qv_test::take_machine_snapshot();
        auto started = os::start_process(L"\"" + std::wstring(uninstaller_path) + L"\"", L"");
        ASSERT_TRUE(started) << started.error().message();
        uninstaller.emplace(std::move(*started));
    }

    // The uninstaller's message box other than the one last answered, once it shows.
    std::string next_dialog() {
        for (;;) {
            const std::string found = qv_test::host_output(
                {"xdotool", "search", "--sync", "--onlyvisible", "--name", "^Uninstall Varnolis$"});
            const std::string window = found.substr(0, found.find('\n'));
            if (window != answered)
                return window;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    void answer(const std::string& window, const std::string& key) {
        qv_test::host_output({"xdotool", "windowfocus", "--sync", window});
        qv_test::host_output({"xdotool", "key", key});
        answered = window;
    }

    std::uint32_t exit_code() {
        uninstaller->wait(os::infinite_timeout).value();
        return uninstaller->exit_code().value();
    }

    qv_test::virtual_display display;
    qv_test::temp_machine machine;
    qv_test::machine_snapshot before;
    qv_test::machine_snapshot installed;
    std::optional<os::process> uninstaller;
    std::string answered;
};

// Yes is the question's default answer: Return goes ahead.
TEST_F(uninstaller_dialog, removes_the_product_when_the_user_agrees) {
    const std::string question = next_dialog();
    std::filesystem::create_directories(QV_SCREENSHOT_DIR);
    qv_test::host_output({"import", "-window", "root",
                          std::string(QV_SCREENSHOT_DIR) + "/uninstaller_question.png"});
    answer(question, "Return");
    answer(next_dialog(), "Return");

    EXPECT_EQ(exit_code(), 0u);
    auto after = qv_test::take_machine_snapshot();
    std::erase_if(after.entries,
                  [](const auto& entry) { return entry.first.starts_with(shared_data_folder); });
    EXPECT_EQ(qv_test::snapshot_differences(before, after), "");
}

TEST_F(uninstaller_dialog, removes_nothing_when_the_user_declines) {
    answer(next_dialog(), "alt+n");

    EXPECT_EQ(exit_code(), 1u);
    EXPECT_EQ(qv_test::snapshot_differences(installed, qv_test::take_machine_snapshot()), "");
}

} // namespace
