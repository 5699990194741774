// Uninstall.exe on a terminal without a display: it asks there before it removes anything.

#include "tests/product/installed_product.h"
#include "tests/support/machine_snapshot.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <pty.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

using namespace uninstaller_test;

namespace {

struct console_run {
    int exit_status;
    std::string output;
};

// Runs the installed uninstaller on a terminal of its own and answers its question.
console_run run_on_terminal(const std::string& answer) {
    const std::string program = host(uninstaller_path).string();
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        throw std::runtime_error("forkpty");
    if (child == 0) {
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    std::string output;
    bool answered = false;
    char buffer[256];
    // The read fails once the program has ended and closed its side of the terminal.
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        output.append(buffer, static_cast<std::size_t>(got));
        if (!answered && output.find("[y/n]") != std::string::npos) {
            const std::string line = answer + "\n";
            if (::write(terminal, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
                throw std::runtime_error("cannot answer");
            answered = true;
        }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class uninstaller_console : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        before = qv_test::take_machine_snapshot();
        install_product();
        installed = qv_test::take_machine_snapshot();
    }

    qv_test::temp_machine machine;
    qv_test::machine_snapshot before;
    qv_test::machine_snapshot installed;
};

TEST_F(uninstaller_console, removes_the_product_when_the_user_answers_yes) {
    const console_run run = run_on_terminal("y");
    EXPECT_EQ(run.exit_status, 0) << run.output;
    EXPECT_NE(run.output.find("Do you want to remove 'Varnolis 2.32g' and all of its components "
                              "from this computer? [y/n]"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("'Varnolis 2.32g' was removed from this computer."),
              std::string::npos)
        << run.output;
    auto after = qv_test::take_machine_snapshot();
    std::erase_if(after.entries,
                  [](const auto& entry) { return entry.first.starts_with(shared_data_folder); });
    EXPECT_EQ(qv_test::snapshot_differences(before, after), "");
}

TEST_F(uninstaller_console, removes_nothing_unless_the_answer_is_yes) {
    for (const char* answer : {"n", ""}) {
        SCOPED_TRACE(std::string("answer \"") + answer + "\"");
        const console_run run = run_on_terminal(answer);
        EXPECT_EQ(run.exit_status, 1) << run.output;
        EXPECT_EQ(qv_test::snapshot_differences(installed, qv_test::take_machine_snapshot()), "");
    }
}

} // namespace
