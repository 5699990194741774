// Uninstall.exe removing an installation made the installer's way, run as a real process on a
// temporary machine.

#include "platform/os/file_access.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/registry.h"

#include "tests/product/installed_product.h"
#include "tests/support/child_process.h"
#include "tests/support/machine_snapshot.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace os = platform::os;
namespace fs = std::filesystem;
using namespace uninstaller_test;

namespace {

class uninstaller_removal : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        before = qv_test::take_machine_snapshot();
        install_product();
    }

    // The machine as it is now, without the shared data, which the uninstaller keeps.
    static qv_test::machine_snapshot snapshot_without_shared_data() {
        auto snapshot = qv_test::take_machine_snapshot();
        std::erase_if(snapshot.entries, [](const auto& entry) {
            return entry.first.starts_with(shared_data_folder);
        });
        return snapshot;
    }

    static bool key_exists(std::wstring_view path) {
        return os::open_key(os::predefined_key::local_machine, path, os::key_access::read)
            .has_value();
    }

    qv_test::temp_machine machine;
    qv_test::machine_snapshot before;
};

TEST_F(uninstaller_removal, leaves_the_machine_as_before_but_the_shared_data) {
    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 0u) << run.error_output;
    EXPECT_EQ(run.error_output, "");

    EXPECT_EQ(qv_test::snapshot_differences(before, snapshot_without_shared_data()), "");
    EXPECT_EQ(qv_test::read_host_file(host(shared_data_file)), "shared colours");
}

// The uninstaller removes nothing that merely sits in the installation's folders.
TEST_F(uninstaller_removal, keeps_what_the_user_put_in_an_installed_folder) {
    const std::wstring drawing = std::wstring(install_folder) + L"\\Lang\\My Drawing.vnl";
    qv_test::write_host_file(
        host(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Lang") / "My Drawing.vnl", "mine");

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 0u) << run.error_output;
    EXPECT_EQ(qv_test::read_host_file(host(drawing)), "mine");
    EXPECT_FALSE(os::path_exists(language_library));
    EXPECT_FALSE(os::path_exists(uninstaller_path));
    EXPECT_FALSE(os::path_exists(log_path));
}

// A file another process holds open without delete sharing stays and is named; everything
// else the installation made is gone, but the uninstaller, its log and the registry entries stay
// so that a second run, once the file is free, finishes the work.
TEST_F(uninstaller_removal, names_a_file_it_cannot_remove_and_finishes_on_a_later_run) {
    qv_test::pipe_pair opened;
    qv_test::pipe_pair may_close;
    qv_test::background_child holder([&] {
        auto file = os::create_file(language_library, os::file_access::generic_read,
                                    os::file_share::read, os::creation::open_existing);
        if (!file)
            return 1;
        opened.signal();
        may_close.wait();
        return 0;
    });
    ASSERT_TRUE(opened.wait());

    const auto held = run_uninstaller();
    EXPECT_EQ(held.exit_code, 1u);
    EXPECT_NE(held.error_output.find(os::to_utf8(language_library)), std::string::npos)
        << held.error_output;
    EXPECT_TRUE(os::path_exists(language_library));
    for (const wchar_t* path : {program_path, sample_document})
        EXPECT_FALSE(os::path_exists(path)) << os::to_utf8(path);
    for (const wchar_t* path : {uninstaller_path, log_path, shared_data_file})
        EXPECT_TRUE(os::path_exists(path)) << os::to_utf8(path);
    EXPECT_TRUE(key_exists(product_key));
    EXPECT_TRUE(key_exists(L"Software\\Quorvane"));

    may_close.signal();
    EXPECT_EQ(holder.join(), 0);
    const auto again = run_uninstaller();
    EXPECT_EQ(again.exit_code, 0u) << again.error_output;
    EXPECT_EQ(qv_test::snapshot_differences(before, snapshot_without_shared_data()), "");
}

// When the product cannot undo its registration nothing is removed: its program must stay so
// that a later run can ask it again.
TEST_F(uninstaller_removal, removes_nothing_when_the_product_cannot_unregister) {
    ASSERT_FALSE(os::set_file_attributes(program_path, os::file_attribute::normal));
    qv_test::write_host_file(host(program_path), "#!/bin/sh\nexit 3\n");
    fs::permissions(host(program_path), fs::perms::owner_exec, fs::perm_options::add);
    const auto installed = qv_test::take_machine_snapshot();

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(
        run.error_output.find(os::to_utf8(program_path) + " /Unregister: ended with exit code 3"),
        std::string::npos)
        << run.error_output;
    EXPECT_EQ(qv_test::snapshot_differences(installed, qv_test::take_machine_snapshot()), "");
}

// A folder replaced by a link to elsewhere is not followed: what the link leads to is untouched.
TEST_F(uninstaller_removal, never_follows_a_linked_folder) {
    const fs::path lang = host(L"C:\\Program Files\\Quorvane\\Varnolis 2\\Lang");
    const fs::path elsewhere = machine.root() / "elsewhere";
    fs::create_directories(elsewhere);
    qv_test::write_host_file(elsewhere / "Varnolis.de.dll", "not the product's");
    fs::remove_all(lang);
    fs::create_directory_symlink(elsewhere, lang);

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.error_output.find(os::to_utf8(language_library)), std::string::npos)
        << run.error_output;
    EXPECT_EQ(qv_test::read_host_file(elsewhere / "Varnolis.de.dll"), "not the product's");
    EXPECT_FALSE(os::path_exists(program_path));
}

} // namespace
