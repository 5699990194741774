#pragma once
// Varnolis.exe of the build, run on a test's machine the way the installer runs it: started from
// a Windows command line, its exit code read the Windows way, its standard error kept.

#include "app/instance_counter.h"
#include "platform/os/machine.h"
#include "platform/os/processes.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace varnolis_test {

inline const std::filesystem::path built_program = QV_VARNOLIS_PROGRAM;

inline constexpr wchar_t application_id[] = L"Varnolis2";

// The build's program through the machine's Z: drive.
inline std::wstring program_on_z_drive() {
    platform::os::machine_root();
    const auto path = platform::os::windows_path_of_host(built_program);
    if (!path)
        throw std::runtime_error("no drive reaches " + built_program.string());
    return *path;
}

inline constexpr wchar_t installed_folder[] = L"C:\\Program Files\\Quorvane\\Varnolis 2";
inline constexpr wchar_t installed_program[] =
    L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";

// A copy of the program where the installer puts it.
inline std::wstring install_program(const qv_test::temp_machine& machine) {
    platform::os::machine_root();
    const auto folder = machine.drive_c("Program Files/Quorvane/Varnolis 2");
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(built_program, folder / "Varnolis.exe");
    return installed_program;
}

// This process's standard error goes to a temporary file while the object lives, so that a
// program started meanwhile writes there.
class captured_error_output {
public:
    captured_error_output() : file_(std::tmpfile()), saved_(::dup(STDERR_FILENO)) {
        if (!file_ || saved_ < 0)
            throw std::runtime_error("cannot capture the standard error");
        std::fflush(stderr);
        ::dup2(::fileno(file_), STDERR_FILENO);
    }
    ~captured_error_output() {
        restore();
        std::fclose(file_);
    }
    captured_error_output(const captured_error_output&) = delete;
    captured_error_output& operator=(const captured_error_output&) = delete;

    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
    }
    std::string text() const {
        std::string all;
        std::rewind(file_);
        char buffer[256];
        while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, file_))
            all.append(buffer, got);
        return all;
    }

private:
    std::FILE* file_;
    int saved_;
};

struct finished_run {
    std::uint32_t exit_code;
    std::string error_output;
};

// Runs "<program quoted> <arguments>" to its end, in the program's folder as the installer does.
inline finished_run run_program(std::wstring_view program, std::wstring_view arguments) {
    captured_error_output error_output;
    const std::wstring folder(program.substr(0, program.rfind(L'\\')));
    auto started = platform::os::start_process(
        L"\"" + std::wstring(program) + L"\" " + std::wstring(arguments), folder);
    error_output.restore();
    if (!started)
        throw std::system_error(started.error());
    started->wait(platform::os::infinite_timeout).value();
    return {started->exit_code().value(), error_output.text()};
}

// The count of Varnolis2 programs as the installer sees it: taken by a process of its own, which
// holds its registration only while it counts. It ends through exit(), whose handlers take the
// registration back, as the installer's end does.
inline int instance_count_seen_by_another_process() {
    return qv_test::run_in_child(
        []() -> int { std::exit(static_cast<int>(qv::running_instance_count(application_id))); });
}

// Waits until the count is the expected one, as the program registers itself shortly after it
// starts; false when it never gets there, so that such a program fails the test instead of
// hanging it.
inline bool wait_for_instance_count(int expected) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (instance_count_seen_by_another_process() == expected)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

// The build's program started on the machine and running until it is closed, once another
// process counts it among the programs of its application id.
inline platform::os::process start_running_product() {
    auto started = platform::os::start_process(L"\"" + program_on_z_drive() + L"\"", L"C:\\");
    if (!started)
        throw std::system_error(started.error(), "Varnolis.exe");
    if (!wait_for_instance_count(2))
        throw std::runtime_error("Varnolis.exe never counted itself");
    return std::move(*started);
}

// Closes the program as its window's user would, and waits for its end.
inline void close_product(const platform::os::process& product) {
    ::kill(static_cast<pid_t>(product.id()), SIGTERM);
    product.wait(platform::os::infinite_timeout).value();
}

} // namespace varnolis_test
