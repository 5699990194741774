// Uninstall.exe refusing to start its work: while the product runs, without its log; and the
// language it says so in.

#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/processes.h"
#include "platform/os/registry.h"

#include "tests/product/installed_product.h"
#include "tests/support/child_process.h"
#include "tests/support/machine_snapshot.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace os = platform::os;
namespace fs = std::filesystem;
using namespace uninstaller_test;

namespace {

class uninstaller_refusal : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }

    qv_test::temp_machine machine;
};

TEST_F(uninstaller_refusal, removes_nothing_while_the_product_runs) {
    install_product();
    const auto installed = qv_test::take_machine_snapshot();
    auto product = os::start_process(L"\"" + std::wstring(program_path) + L"\"", install_folder);
    ASSERT_TRUE(product) << product.error().message();
    ASSERT_TRUE(varnolis_test::wait_for_instance_count(2));

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.error_output.find("'Varnolis' is running"), std::string::npos)
        << run.error_output;
    EXPECT_EQ(qv_test::snapshot_differences(installed, qv_test::take_machine_snapshot()), "");

    ASSERT_EQ(::kill(static_cast<pid_t>(product->id()), SIGTERM), 0);
    product->wait(os::infinite_timeout).value();
}

TEST_F(uninstaller_refusal, removes_nothing_without_its_log) {
    install_product();
    ASSERT_FALSE(os::set_file_attributes(log_path, os::file_attribute::normal));
    ASSERT_FALSE(os::delete_file(log_path));
    const auto installed = qv_test::take_machine_snapshot();

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.error_output.find("The uninstall log '" + os::to_utf8(log_path) +
                                    "' is missing or cannot be read"),
              std::string::npos)
        << run.error_output;
    EXPECT_EQ(qv_test::snapshot_differences(installed, qv_test::take_machine_snapshot()), "");
}

// Removing the product needs the administrator: another user is told so and changes nothing.
TEST_F(uninstaller_refusal, leaves_everything_to_an_administrator) {
    install_product();
    const auto installed = qv_test::take_machine_snapshot();

    const int refused = qv_test::run_in_child(
        [] {
            const auto run = run_uninstaller();
            if (run.exit_code != 1)
                return 2;
            return run.error_output.find("You need administrator rights to uninstall "
                                         "'Varnolis 2.32g'") == std::string::npos
                       ? 3
                       : 0;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(refused, 0);
    // The machine gives the other user ("nobody") a profile on first use; that is not the
    // uninstaller's doing.
    auto after = qv_test::take_machine_snapshot();
    std::erase_if(after.entries,
                  [](const auto& entry) { return entry.first.starts_with("C:\\users\\nobody"); });
    EXPECT_EQ(qv_test::snapshot_differences(installed, after), "");
}

// A log that is there but lists nothing (not a log of ours) counts as missing.
TEST_F(uninstaller_refusal, takes_a_log_without_records_for_a_missing_one) {
    install_product();
    ASSERT_FALSE(os::set_file_attributes(log_path, os::file_attribute::normal));
    qv_test::write_host_file(host(log_path), "not a log\r\n");

    const auto run = run_uninstaller();
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.error_output.find("is missing or cannot be read"), std::string::npos)
        << run.error_output;
    EXPECT_TRUE(os::path_exists(program_path));
}

// The texts follow the "QvLanguage" the installer stored, when the installer speaks it, else
// they are English.
TEST_F(uninstaller_refusal, speaks_the_language_the_installation_chose) {
    struct language_case {
        const char* name;
        std::optional<qv::language_index> stored;
        const char* expected;
    };
    const language_case cases[] = {
        {"no uninstall entry", std::nullopt, "The uninstall log"},
        {"English", qv::languages::english, "The uninstall log"},
        {"German", qv::languages::german, "Das Deinstallationsprotokoll"},
        {"French", qv::languages::french, "Le journal de d\xc3\xa9sinstallation"},
        {"Hungarian", qv::languages::hungarian, "elt\xc3\xa1vol\xc3\xadt\xc3\xa1si napl\xc3\xb3"},
        // A product language the installer's texts are not translated into.
        {"Polish", qv::languages::polish, "The uninstall log"},
        {"not a product language", qv::languages::dutch, "The uninstall log"},
    };
    fs::create_directories(machine.drive_c("Program Files/Quorvane/Varnolis 2"));
    copy_build_file(built_uninstaller, uninstaller_path);
    for (const language_case& c : cases) {
        SCOPED_TRACE(c.name);
        os::delete_tree(os::predefined_key::local_machine, product_key);
        if (c.stored) {
            ASSERT_FALSE(qv::write_uninstall_entry(
                program_path, uninstaller_path, *c.stored,
                [](const os::registry_key*) { return std::error_code{}; }));
        }
        const auto run = run_uninstaller();
        EXPECT_EQ(run.exit_code, 1u);
        EXPECT_NE(run.error_output.find(c.expected), std::string::npos) << run.error_output;
    }
}

} // namespace
