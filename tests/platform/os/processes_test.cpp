#include "platform/os/processes.h"

#include "platform/os/error.h"
#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/support/temp_machine.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using os::wait_status;
using os::win32_error;

namespace {

std::error_code code(win32_error error) {
    return os::make_error_code(error);
}

// The shell through the machine's Z: drive, which reaches the whole host.
const std::wstring shell = L"\"Z:\\bin\\sh\" -c ";

// Runs the command line to its end and gives its exit code.
std::uint32_t exit_code_of(std::wstring_view command_line, std::wstring_view folder = {}) {
    auto started = os::start_process(command_line, folder);
    if (!started)
        throw std::system_error(started.error());
    EXPECT_EQ(started->wait(os::infinite_timeout).value(), wait_status::object_0);
    return started->exit_code().value();
}

TEST(split_command_line, follows_windows_rules) {
    struct case_ {
        const wchar_t* line;
        std::vector<std::wstring> arguments;
    };
    const case_ cases[] = {
        {L"program", {L"program"}},
        {L"program one  two\tthree ", {L"program", L"one", L"two", L"three"}},
        {L"\"C:\\Program Files\\app.exe\" x", {L"C:\\Program Files\\app.exe", L"x"}},
        // The program name has no escapes and ends at its closing quote.
        {L"\"C:\\a\\\\\"rest", {L"C:\\a\\\\", L"rest"}},
        {L"C:\\a\"b c", {L"C:\\a\"b", L"c"}},
        {L"\"unclosed name", {L"unclosed name"}},
        {L" leading", {L"", L"leading"}},
        {L"p \"a b\" c", {L"p", L"a b", L"c"}},
        {L"p a\"b c\"d", {L"p", L"ab cd"}},
        {L"p \"\"", {L"p", L""}},
        {L"p \"\" \"\"", {L"p", L"", L""}},
        {L"p a\\b \\\\server", {L"p", L"a\\b", L"\\\\server"}},
        {L"p a\\\"b", {L"p", L"a\"b"}},
        {L"p a\\\\\"b c\" d", {L"p", L"a\\b c", L"d"}},
        {L"p a\\\\\\\"b", {L"p", L"a\\\"b"}},
        {L"p \"C:\\dir\\\\\"", {L"p", L"C:\\dir\\"}},
        {L"p \"say \\\"hi\\\"\"", {L"p", L"say \"hi\""}},
        // "" inside quotes is a literal quote and ends the quoting.
        {L"p \"a\"\"b c\"", {L"p", L"a\"b", L"c"}},
        {L"p \"\"\"", {L"p", L"\""}},
        {L"p \"\"\"\" x", {L"p", L"\" x"}},
        {L"p \"unclosed arg", {L"p", L"unclosed arg"}},
        {L"p trailing\\", {L"p", L"trailing\\"}},
    };
    for (const case_& c : cases)
        EXPECT_EQ(os::split_command_line(c.line), c.arguments) << os::to_utf8(c.line);
}

TEST(split_command_line, an_empty_line_is_the_program_itself) {
    qv_test::temp_machine machine;
    EXPECT_EQ(os::split_command_line(L""), std::vector{os::module_file_name().value()});
}

TEST(module_file_name, is_this_program_through_the_z_drive) {
    qv_test::temp_machine machine;
    const fs::path self = fs::canonical("/proc/self/exe");
    std::wstring expected = L"Z:" + os::from_utf8(self.string());
    std::replace(expected.begin(), expected.end(), L'/', L'\\');
    EXPECT_EQ(os::module_file_name().value(), expected);
    EXPECT_EQ(fs::canonical(os::host_path(expected).value()), self);
}

class processes : public testing::Test {
protected:
    processes() {
        os::machine_root();
        fs::create_directories(machine.drive_c("work"));
    }

    qv_test::temp_machine machine;
};

TEST_F(processes, the_exit_code_reads_as_on_windows) {
    const std::pair<const wchar_t*, std::uint32_t> cases[] = {
        {L"\"exit 0\"", 0},
        {L"\"exit 3\"", 3},
        {L"\"exit 127\"", 127},
        {L"\"exit 246\"", 0xFFFFFFF6},
        {L"\"exit 255\"", 0xFFFFFFFF},
        {L"\"kill -KILL $$\"", 1},
        {L"\"kill -TERM $$\"", 1},
        {L"\"kill -INT $$\"", 0xC000013A},
        {L"\"ulimit -c 0; kill -SEGV $$\"", 0xC0000005},
        {L"\"ulimit -c 0; kill -ABRT $$\"", 3},
    };
    for (const auto& [script, expected] : cases)
        EXPECT_EQ(exit_code_of(shell + script), expected) << os::to_utf8(script);
}

TEST_F(processes, a_running_process_is_still_active_until_it_ends) {
    auto started = os::start_process(shell + L"\"exec sleep 1000\"", L"");
    ASSERT_TRUE(started) << started.error().message();
    EXPECT_EQ(started->wait(0).value(), wait_status::timeout);
    EXPECT_EQ(started->wait(20).value(), wait_status::timeout);
    EXPECT_EQ(started->exit_code().value(), os::still_active);

    ASSERT_EQ(::kill(static_cast<pid_t>(started->id()), SIGKILL), 0);
    EXPECT_EQ(started->wait(os::infinite_timeout).value(), wait_status::object_0);
    EXPECT_EQ(started->wait(0).value(), wait_status::object_0);
    EXPECT_EQ(started->exit_code().value(), 1u);
}

TEST_F(processes, runs_in_the_working_folder_with_every_argument_intact) {
    // The script writes each argument after $0, and its folder, into files of the folder.
    const std::wstring line = shell +
                              L"\"printf '%s|' \\\"$@\\\" > args.txt; pwd -P > folder.txt\" sh "
                              L"\"a b\" \"say \\\"hi\\\"\" back\\slash \"trailing\\\\\" \"\" größe";
    ASSERT_EQ(exit_code_of(line, L"C:\\WORK"), 0u);
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("work/args.txt")),
              "a b|say \"hi\"|back\\slash|trailing\\||größe|");
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("work/folder.txt")),
              fs::canonical(machine.drive_c("work")).string() + "\n");
}

TEST_F(processes, names_and_folders_are_taken_against_the_current_directory) {
    // A bare program name and an empty working folder.
    ASSERT_FALSE(os::set_current_directory(L"Z:\\bin"));
    EXPECT_EQ(exit_code_of(L"sh -c \"exit 7\""), 7u);
    ASSERT_EQ(exit_code_of(L"sh -c \"pwd -P > \\\"$0\\\"\" " +
                           os::from_utf8(machine.drive_c("work/folder.txt").string())),
              0u);
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("work/folder.txt")),
              fs::canonical("/bin").string() + "\n");
}

TEST_F(processes, programs_and_folders_that_cannot_serve_are_refused) {
    qv_test::write_host_file(machine.drive_c("work/text.txt"), "not a program\n");
    qv_test::write_host_file(machine.drive_c("work/bad.exe"), "MZ\x90\x00 not for this host");
    ::chmod(machine.drive_c("work/bad.exe").c_str(), 0755);
    qv_test::write_host_file(machine.drive_c("work/script"), "echo no interpreter line\n");
    ::chmod(machine.drive_c("work/script").c_str(), 0755);

    struct case_ {
        const wchar_t* line;
        const wchar_t* folder;
        win32_error error;
    };
    const case_ cases[] = {
        {L"C:\\work\\missing.exe", L"", win32_error::file_not_found},
        {L"C:\\missing\\app.exe", L"", win32_error::path_not_found},
        {L"C:\\work", L"", win32_error::access_denied},
        {L"C:\\work\\text.txt", L"", win32_error::access_denied},
        {L"C:\\work\\bad.exe", L"", win32_error::bad_exe_format},
        {L"C:\\work\\script", L"", win32_error::bad_exe_format},
        {L"Q:\\app.exe", L"", win32_error::path_not_found},
        {L"", L"", win32_error::invalid_parameter},
        {L"Z:\\bin\\sh -c true", L"C:\\missing", win32_error::directory},
        {L"Z:\\bin\\sh -c true", L"C:\\work\\text.txt", win32_error::directory},
        {L"Z:\\bin\\sh -c true", L"C:\\bad|name", win32_error::directory},
    };
    for (const case_& c : cases)
        EXPECT_EQ(os::start_process(c.line, c.folder).error(), code(c.error))
            << os::to_utf8(c.line) << " in " << os::to_utf8(c.folder);
}

TEST_F(processes, closing_the_handle_neither_ends_the_process_nor_leaves_a_zombie) {
    const fs::path go = machine.drive_c("work/go");
    const fs::path done = machine.drive_c("work/done");
    ASSERT_EQ(::mkfifo(go.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(done.c_str(), 0600), 0);
    pid_t pid = 0;
    {
        auto started =
            os::start_process(shell + L"\"read line < go; echo $line > done\"", L"C:\\work");
        ASSERT_TRUE(started) << started.error().message();
        pid = static_cast<pid_t>(started->id());
    }
    // The process still runs: it takes a line and answers it.
    std::ofstream(go) << "alive\n";
    EXPECT_EQ(qv_test::read_host_file(done), "alive\n");

    // Once it has ended, the handle's thread collects it.
    const fs::path entry = "/proc/" + std::to_string(pid);
    for (int look = 0; look < 6000 && fs::exists(entry); ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(fs::exists(entry));
}

TEST_F(processes, a_moved_from_handle_is_invalid) {
    auto started = os::start_process(shell + L"true", L"");
    ASSERT_TRUE(started);
    os::process moved = std::move(*started);
    EXPECT_EQ(started->wait(0).error(), code(win32_error::invalid_handle));
    EXPECT_EQ(started->exit_code().error(), code(win32_error::invalid_handle));
    EXPECT_EQ(moved.wait(os::infinite_timeout).value(), wait_status::object_0);
    EXPECT_EQ(moved.exit_code().value(), 0u);
}

} // namespace
