// The built installer run unattended on temporary machines, as a user without a display runs it:
// a fresh installation and what it leaves, the next run reinstalling, an update, a refusal over
// a newer version, and each start-up stop (the product running, a second installer, a user
// without administrator rights), the interface languages, a failed extraction undone, and the
// installed uninstaller taking everything back.

#include "app/instance_mutex.h"
#include "platform/os/kernel_objects.h"
#include "platform/os/machine.h"
#include "platform/os/processes.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/installer/setup_process.h"
#include "tests/product/varnolis_program.h"
#include "tests/support/child_process.h"
#include "tests/support/machine_snapshot.h"
#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"
#include "tests/support/virtual_display.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
namespace os = platform::os;
using qv_test::setup_run;

constexpr char uninstall_key[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnolis 2";
constexpr char maker_key[] = "HKEY_LOCAL_MACHINE\\Software\\Quorvane";
constexpr char product_settings_key[] = "HKEY_LOCAL_MACHINE\\Software\\Quorvane\\Varnolis 2";
constexpr char program_folder[] = "C:\\Program Files\\Quorvane\\Varnolis 2";
constexpr char shortcut_folder[] =
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\Varnolis 2";
constexpr char sample_folder[] = "C:\\users\\Public\\Desktop\\Varnolis Examples";
constexpr char shared_data_folder[] = "C:\\ProgramData\\Quorvane\\Varnolis 2";

std::string in_program_folder(const std::string& name) {
    return std::string(program_folder) + "\\" + name;
}

// A registry string as the snapshot keeps it (UTF-16LE with its NUL), as text.
std::string string_value(const qv_test::machine_snapshot& snapshot, const std::string& key,
                         const std::string& name) {
    const auto found_key = snapshot.keys.find(key);
    if (found_key == snapshot.keys.end())
        return "<no key>";
    const auto found = found_key->second.find(name);
    if (found == found_key->second.end())
        return "<no value>";
    std::wstring text;
    const std::string& bytes = found->second.bytes;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                     static_cast<unsigned char>(bytes[i + 1]) << 8);
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return os::to_utf8(text);
}

bool has_entry(const qv_test::machine_snapshot& snapshot, const std::string& path) {
    return snapshot.entries.contains(path);
}

// The differences, less the lines about what the product keeps on purpose.
std::string differences_apart_from(const qv_test::machine_snapshot& before,
                                   const qv_test::machine_snapshot& after,
                                   const std::vector<std::string>& kept) {
    std::istringstream lines(qv_test::snapshot_differences(before, after));
    std::string left;
    for (std::string line; std::getline(lines, line);) {
        // A link made again records its target's new times.
        bool expected =
            line.find(".lnk: file") != std::string::npos && line.ends_with("(content differs)");
        for (const std::string& part : kept)
            expected = expected || line.find(part) != std::string::npos;
        if (!expected)
            left += line + "\n";
    }
    return left;
}

// An installed program of the given version where the installer looks for it.
void register_installed_version(const qv_test::temp_machine& machine,
                                std::array<std::uint16_t, 4> version) {
    os::machine_root();
    const fs::path folder = machine.drive_c("Program Files/Quorvane/Varnolis 2");
    fs::create_directories(folder);
    qv_test::version_description description;
    description.file_version = version;
    description.product_version = version;
    description.strings = {{L"ProductName", L"Varnolis"}, {L"CompanyName", L"Quorvane"}};
    qv_test::write_versioned_program(folder / "Varnolis.exe", description);
    auto key = os::create_key(os::predefined_key::local_machine, L"Software\\Quorvane",
                              os::key_access::maximum_allowed);
    ASSERT_TRUE(key);
    ASSERT_FALSE(os::set_string_value(key->key, L"Varnolis 2 Path",
                                      os::from_utf8(in_program_folder("Varnolis.exe"))));
}

TEST(setup_run, a_fresh_installation_installs_registers_and_logs_the_product) {
    qv_test::temp_machine machine;
    const setup_run run = qv_test::run_setup();
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("== Installer – Varnolis 2.32g =="), std::string::npos);
    EXPECT_NE(run.output.find("'Varnolis 2.32g' Installation."), std::string::npos);
    EXPECT_NE(run.output.find("Installation Folder: \"C:\\Program Files\\Quorvane\\Varnolis 2\"."),
              std::string::npos);
    EXPECT_NE(run.output.find("Registry Data Writing...OK"), std::string::npos);
    EXPECT_NE(run.output.find("Installation Data Writing...OK"), std::string::npos);
    EXPECT_NE(run.output.find("Installation is complete."), std::string::npos);

    const auto after = qv_test::take_machine_snapshot();
    for (const std::string name :
         {"Varnolis.exe", "Uninstall.exe", "Uninstall.ulog", "Lang\\Varnolis.de.dll"})
        EXPECT_TRUE(has_entry(after, in_program_folder(name))) << name;
    // The programs cannot be changed by mistake.
    EXPECT_NE(after.entries.at(in_program_folder("Varnolis.exe")).attributes & 1u, 0u);
    EXPECT_TRUE(has_entry(after, std::string(sample_folder) + "\\Arch Bridge.vnl"));
    EXPECT_TRUE(has_entry(after, std::string(shared_data_folder) + "\\Colours.vdat"));
    EXPECT_TRUE(has_entry(after, std::string(shortcut_folder) + "\\Varnolis 2.32g.lnk"));
    EXPECT_TRUE(has_entry(after, "C:\\users\\Public\\Desktop\\Varnolis 2.32g.lnk"));

    ASSERT_TRUE(after.keys.contains(uninstall_key));
    EXPECT_EQ(after.keys.at(uninstall_key).size(), 12u);
    EXPECT_EQ(string_value(after, uninstall_key, "DisplayName"), "Varnolis 2.32g");
    // Unquoted: the next run finds the log beside the path as it stands.
    EXPECT_EQ(string_value(after, uninstall_key, "UninstallString"),
              in_program_folder("Uninstall.exe"));
    EXPECT_EQ(string_value(after, maker_key, "Varnolis 2 Path"), in_program_folder("Varnolis.exe"));
    // The product's registration run wrote its own settings.
    EXPECT_EQ(string_value(after, product_settings_key, "InstallPath"), program_folder);

    // The shared data folder is open to the machine's users.
    const std::string access = qv_test::host_output(
        {"getfacl", "-p", (machine.drive_c("ProgramData/Quorvane/Varnolis 2")).string()});
    EXPECT_NE(access.find("group:users:rwx"), std::string::npos) << access;
    EXPECT_NE(access.find("default:group:users:rwx"), std::string::npos) << access;
}

TEST(setup_run, the_next_run_offers_the_reinstallation_and_installs_into_the_same_folders) {
    qv_test::temp_machine machine;
    ASSERT_EQ(qv_test::run_setup().exit_code, 0);
    const auto first = qv_test::take_machine_snapshot();

    const setup_run again = qv_test::run_setup();
    ASSERT_EQ(again.exit_code, 0) << again.output;
    EXPECT_NE(again.output.find("'Varnolis 2.32g' is already installed."), std::string::npos);
    EXPECT_NE(again.output.find("Do you confirm Reinstallation ?"), std::string::npos);
    // Reinstalling writes the samples again; the shared data that exists is kept.
    EXPECT_NE(again.output.find("Varnolis Examples\\Arch Bridge.vnl\"...OK"), std::string::npos);
    EXPECT_EQ(again.output.find("Colours.vdat"), std::string::npos);

    // The same files, links and registry values: nothing duplicated, nothing lost.
    EXPECT_EQ(differences_apart_from(first, qv_test::take_machine_snapshot(),
                                     {"Uninstall.ulog", "InstallDate", "#time"}),
              "");
}

TEST(setup_run, an_older_installation_is_updated_without_samples) {
    qv_test::temp_machine machine;
    register_installed_version(machine, {2, 31, 0, 0});
    const setup_run run = qv_test::run_setup();
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("Update from '"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("to 'Varnolis 2.32g'."), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Varnolis Examples"), std::string::npos);

    const auto after = qv_test::take_machine_snapshot();
    EXPECT_FALSE(has_entry(after, sample_folder));
    // The registration run was told which version it replaces.
    EXPECT_EQ(string_value(after, product_settings_key, "MigratedFrom"), "2.31.0.0");
    EXPECT_EQ(string_value(after, product_settings_key, "Version"), "2.32.7.1");
}

TEST(setup_run, a_newer_installation_is_refused_and_nothing_changes) {
    qv_test::temp_machine machine;
    register_installed_version(machine, {3, 0, 0, 0});
    const auto before = qv_test::take_machine_snapshot();
    const setup_run run = qv_test::run_setup();
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("A more recent Version ("), std::string::npos) << run.output;
    // Next is disabled: the only way is out, without a question.
    EXPECT_NE(run.output.find("(Next  >) | (<  Back) | Cancel"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("Installation is not complete."), std::string::npos);
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
}

TEST(setup_run, the_running_product_must_be_closed_first) {
    qv_test::temp_machine machine;
    const os::process product = varnolis_test::start_running_product();
    const qv_test::machine_snapshot before = qv_test::take_machine_snapshot();
    const setup_run run = qv_test::run_setup();
    varnolis_test::close_product(product);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("You should close 'Varnolis' before continuing Installation."),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("== "), std::string::npos) << "the wizard must not open";
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
}

TEST(setup_run, a_second_installer_stops_at_once) {
    qv_test::temp_machine machine;
    qv::named_mutex_guard first_installer;
    first_installer.create(qv::instance_mutex_name(L"Varnolis2"));
    ASSERT_TRUE(first_installer.acquire());
    const setup_run run = qv_test::run_setup();
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("The requested resource is in use."), std::string::npos)
        << run.output;
    EXPECT_TRUE(first_installer.owned());
}

TEST(setup_run, a_user_without_administrator_rights_is_told_so) {
    qv_test::temp_machine machine;
    os::machine_root();
    fs::permissions(machine.root().parent_path(),
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec);
    const auto before = qv_test::take_machine_snapshot();
    const setup_run run = qv_test::run_setup({}, qv_test::unprivileged_user());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find(
                  "You should have Administrator Rights in order to proceed to Installation."),
              std::string::npos)
        << run.output;
    // Only the user's own profile folders, which the machine makes on the user's first run.
    EXPECT_EQ(
        differences_apart_from(before, qv_test::take_machine_snapshot(), {"C:\\users\\nobody"}),
        "");
}

struct language_case {
    const char* locale;
    // A stored "QvLanguage", when there is one.
    std::optional<std::uint32_t> stored;
    const char* expected_title;
};

void PrintTo(const language_case& given, std::ostream* out) {
    *out << given.locale;
    if (given.stored)
        *out << ", QvLanguage " << *given.stored;
}

class setup_language : public testing::TestWithParam<language_case> {};

TEST_P(setup_language, the_wizard_speaks_the_chosen_language) {
    const language_case& given = GetParam();
    qv_test::temp_machine machine;
    if (given.stored) {
        auto key =
            os::create_key(os::predefined_key::local_machine,
                           L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnolis 2",
                           os::key_access::maximum_allowed);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_dword_value(key->key, L"QvLanguage", *given.stored));
    }
    const setup_run run =
        qv_test::run_setup({{"LANG", given.locale}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}});
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_EQ(run.output.rfind("== ", 0), 0u) << run.output;
    EXPECT_EQ(run.output.substr(3, run.output.find(" ==") - 3), given.expected_title);
}

INSTANTIATE_TEST_SUITE_P(
    languages, setup_language,
    testing::Values(language_case{"de_DE.UTF-8", std::nullopt,
                                  "Installationsprogramm – Varnolis 2.32g"},
                    language_case{"fr_FR.UTF-8", std::nullopt, "Installeur – Varnolis 2.32g"},
                    // The language of the earlier installation wins over the user's.
                    language_case{"en_US.UTF-8", 2u, "Installationsprogramm – Varnolis 2.32g"},
                    language_case{"it_IT.UTF-8", 0u, "Installeur – Varnolis 2.32g"},
                    // Polish is a product language the installer does not speak.
                    language_case{"pl_PL.UTF-8", std::nullopt, "Installer – Varnolis 2.32g"},
                    language_case{"de_DE.UTF-8", 15u, "Installer – Varnolis 2.32g"},
                    // Not a product language: the user's language stays.
                    language_case{"en_US.UTF-8", 5u, "Installer – Varnolis 2.32g"}),
    [](const testing::TestParamInfo<language_case>& info) {
        std::string name = std::string(info.param.locale).substr(0, 5);
        if (info.param.stored)
            name += "_stored_" + std::to_string(*info.param.stored);
        return name;
    });

TEST(setup_run, a_failed_extraction_leaves_the_machine_as_it_was) {
    qv_test::temp_machine machine;
    os::machine_root();
    const auto before = qv_test::take_machine_snapshot();
    // An operation well inside the extraction: after the first files, before the last.
    const setup_run run = qv_test::run_setup({{"QV_FAIL_FILE_OPERATION", "300:112"}});
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.output.find("...Failed\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Installation failed (Error Code 1:00000070)."), std::string::npos)
        << run.output;
    // The failed step is not tried again: the run leaves, and the question is answered No.
    EXPECT_NE(run.output.find("Installation is not complete."), std::string::npos);
    EXPECT_EQ(qv_test::snapshot_differences(before, qv_test::take_machine_snapshot()), "");
}

TEST(setup_run, the_installed_uninstaller_takes_everything_back_but_the_shared_data) {
    qv_test::temp_machine machine;
    os::machine_root();
    const auto before = qv_test::take_machine_snapshot();
    ASSERT_EQ(qv_test::run_setup().exit_code, 0);

    auto uninstaller =
        os::start_process(L"\"" + os::from_utf8(in_program_folder("Uninstall.exe")) + L"\" /S",
                          os::from_utf8(program_folder));
    ASSERT_TRUE(uninstaller);
    ASSERT_TRUE(uninstaller->wait(os::infinite_timeout));
    EXPECT_EQ(uninstaller->exit_code().value(), 0u);

    EXPECT_EQ(differences_apart_from(before, qv_test::take_machine_snapshot(),
                                     {"C:\\ProgramData\\Quorvane"}),
              "");
}

} // namespace
