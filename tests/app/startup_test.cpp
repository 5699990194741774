#include "app/file_version_info.h"
#include "app/install_session.h"
#include "app/language_state.h"
#include "app/startup.h"

#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"
#include "tests/support/versioned_program.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using qv::install_state;

namespace {

constexpr wchar_t uninstall_key[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnolis 2";

os::registry_key machine_key(std::wstring_view path) {
    auto created =
        os::create_key(os::predefined_key::local_machine, path, os::key_access::all_access);
    if (!created)
        throw std::system_error(created.error());
    return std::move(created->key);
}

// Values remembered once per process (the registered program, the edition rule) need a process
// of their own for each case.
bool holds_in_child(const std::function<bool()>& check) {
    return qv_test::run_in_child([&] { return check() ? 0 : 1; }) == 0;
}

struct language_case {
    const char* lang;
    std::optional<std::pair<std::uint32_t, std::string>> stored; // type and bytes of QvLanguage
    qv::language_index expected;
};

TEST(choose_start_language, preselection_stored_choice_and_installer_fallback) {
    qv_test::temp_machine machine;
    const auto dword = [](std::uint32_t v) {
        return std::pair{os::value_type::dword, std::string(reinterpret_cast<const char*>(&v), 4)};
    };
    const language_case cases[] = {
        {"de_DE.UTF-8", std::nullopt, qv::languages::german},
        {"sv_SE.UTF-8", std::nullopt, qv::languages::english},
        {"fr_FR.UTF-8", std::nullopt, qv::languages::french},
        {"pl_PL.UTF-8", std::nullopt, qv::languages::english},
        {"de_DE.UTF-8", dword(19), qv::languages::hungarian},
        {"de_DE.UTF-8", dword(15), qv::languages::english},
        {"de_DE.UTF-8", dword(5), qv::languages::german},
        {"de_DE.UTF-8", dword(0xFFFFFFFF), qv::languages::german},
        {"de_DE.UTF-8", std::pair{os::value_type::qword, std::string("\x13\0\0\0\0\0\0\0", 8)},
         qv::languages::german},
        {"de_DE.UTF-8", std::pair{os::value_type::binary, std::string("\x0b", 1)},
         qv::languages::italian},
    };
    for (const auto& c : cases) {
        ::setenv("LANG", c.lang, 1);
        ::unsetenv("LC_ALL");
        ::unsetenv("LC_MESSAGES");
        auto key = machine_key(uninstall_key);
        os::delete_value(key, L"QvLanguage");
        if (c.stored) {
            ASSERT_FALSE(os::set_value(key, L"QvLanguage", c.stored->first, c.stored->second));
        }
        qv::choose_start_language();
        EXPECT_EQ(qv::language_state::instance().language, c.expected)
            << c.lang << " stored " << (c.stored ? c.stored->second.size() : 0);
    }
}

TEST(application_title, message_zero_and_the_product) {
    qv::set_language(qv::languages::english);
    EXPECT_EQ(qv::application_title(qv::title_form::plain), L"Installer");
    EXPECT_EQ(qv::application_title(qv::title_form::with_product),
              L"Installer \u2013 Varnolis 2.32g");
}

class installed_program : public testing::Test {
protected:
    void SetUp() override {
        os::machine_root();
        fs::create_directories(machine_.drive_c("Program Files/Quorvane/Varnolis 2"));
        qv::set_language(qv::languages::english);
    }

    void install(const qv_test::version_description& version) {
        qv_test::write_versioned_program(machine_.drive_c(program_file), version);
        register_program();
    }

    void register_program() {
        ASSERT_FALSE(os::set_string_value(machine_key(L"Software\\Quorvane"), L"Varnolis 2 Path",
                                          program_path));
    }

    static qv_test::version_description version_of(std::array<std::uint16_t, 4> file_version) {
        qv_test::version_description version;
        version.file_version = file_version;
        version.strings = {{L"ProductName", L"Varnolis"}, {L"ProductVersion", L"2.xx"}};
        return version;
    }

    static constexpr const char* program_file = "Program Files/Quorvane/Varnolis 2/Varnolis.exe";
    static constexpr const wchar_t* program_path =
        L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
    qv_test::temp_machine machine_;
};

struct state_case {
    std::array<std::uint16_t, 4> version;
    install_state expected;
    bool has_text;
    qv::packed_version installed_version;
};

TEST_F(installed_program, state_follows_the_registered_program_version) {
    const state_case cases[] = {
        {{2, 32, 7, 1}, install_state::same_version_installed, false, 0},
        {{2, 32, 7, 0}, install_state::older_installed, true, 0x0002002000070000},
        {{2, 31, 9, 9}, install_state::older_installed, true, 0x0002001F00090009},
        {{2, 32, 7, 2}, install_state::newer_installed, true, 0},
        {{3, 0, 0, 0}, install_state::newer_installed, true, 0},
    };
    for (const auto& c : cases) {
        install(version_of(c.version));
        EXPECT_TRUE(holds_in_child([&] {
            qv::install_session session;
            qv::decide_install_state(session);
            return session.install_state == c.expected &&
                   session.installed_version == c.installed_version &&
                   (session.installed_version_text == L"Varnolis 2.xx") == c.has_text;
        })) << c.version[0]
            << "." << c.version[1] << "." << c.version[2] << "." << c.version[3];
    }
}

TEST_F(installed_program, no_registered_program_and_a_file_without_version) {
    EXPECT_TRUE(holds_in_child([] {
        qv::install_session session;
        qv::decide_install_state(session);
        return session.install_state == install_state::not_installed;
    }));
    qv_test::write_host_file(machine_.drive_c(program_file), "no resources");
    register_program();
    EXPECT_TRUE(holds_in_child([] {
        qv::install_session session;
        qv::decide_install_state(session);
        return session.install_state == install_state::same_version_installed &&
               session.installed_version_text.empty();
    }));
}

struct display_case {
    const char* what;
    std::wstring product_version;
    std::uint32_t flags;
    std::wstring special_build;
    qv::language_index language;
    std::wstring expected;
};

TEST_F(installed_program, display_texts_follow_the_edition_beta_private_and_debug_rules) {
    const display_case cases[] = {
        {"plain", L"2.32f", 0, L"", qv::languages::english, L"Varnolis 2.32f"},
        {"private debug", L"2.32f", 0x9, L"", qv::languages::english,
         L"Varnolis 2.32f \u2013 Private \u2013 Debug"},
        {"beta in French", L"2.33 b\u00eata", 0x2, L"", qv::languages::french,
         L"Varnolis 2.33 b\u00eata"},
        {"beta elsewhere", L"2.33 b\u00eata", 0x2, L"", qv::languages::german,
         L"Varnolis 2.33 beta"},
        {"only the last beta", L"b\u00eata 2.33 b\u00eata", 0x2, L"", qv::languages::english,
         L"Varnolis b\u00eata 2.33 beta"},
        {"beta without the flag", L"2.33 b\u00eata", 0, L"", qv::languages::english,
         L"Varnolis 2.33 b\u00eata"},
        {"edition in German", L"2.32", 0, L"Plavento", qv::languages::german, L"Plavento 2.32"},
        {"edition elsewhere", L"2.32", 0, L"Plavento", qv::languages::italian, L"Varnolis 2.32"},
        {"another special build", L"2.32", 0, L"Other", qv::languages::german, L"Varnolis 2.32"},
    };
    for (const auto& c : cases) {
        qv_test::version_description version;
        version.file_flags = c.flags;
        version.strings = {{L"ProductName", L"Varnolis"}, {L"ProductVersion", c.product_version}};
        if (!c.special_build.empty())
            version.strings.emplace_back(L"SpecialBuild", c.special_build);
        install(version);
        EXPECT_TRUE(holds_in_child([&] {
            qv::set_language(c.language);
            return qv::file_version_info(program_path).display_version_text() == c.expected;
        })) << c.what;
    }
}

class earlier_folders : public installed_program {
protected:
    void write_log(const std::wstring& install_folder, const std::wstring& shortcut_folder) {
        const std::wstring text =
            L"// Uninstall Log File v1\r\n// w\r\n// Install Varnolis 2.32g\r\n"
            L"// Install Path : " +
            install_folder + L"\r\n// Shortcut Path : " + shortcut_folder + L"\r\n// ---\r\n";
        qv_test::write_host_file(
            machine_.drive_c("Program Files/Quorvane/Varnolis 2/Uninstall.ulog"),
            "\xFF\xFE" + os::to_utf16le(text));
    }
};

TEST_F(earlier_folders, a_reinstallation_takes_the_earlier_folders) {
    fs::create_directories(machine_.drive_c("Elsewhere/Menu"));
    write_log(L"C:\\Program Files\\Quorvane\\Varnolis 2", L"C:\\Elsewhere\\Menu");
    install(version_of({2, 32, 7, 1}));
    EXPECT_TRUE(holds_in_child([] {
        qv::install_session session;
        qv::decide_install_state(session);
        qv::read_earlier_folders(session);
        qv::fill_default_folders(session);
        return session.install_folder == L"C:\\Program Files\\Quorvane\\Varnolis 2" &&
               session.shortcut_folder == L"C:\\Elsewhere\\Menu" &&
               session.install_log.previous_product == L"Varnolis 2.32g";
    }));
}

TEST_F(earlier_folders, missing_folders_and_a_newer_installation_give_the_defaults) {
    write_log(L"C:\\Gone", L"C:\\Gone too");
    install(version_of({2, 31, 0, 0}));
    const auto defaults = [] {
        qv::install_session session;
        qv::decide_install_state(session);
        qv::read_earlier_folders(session);
        qv::fill_default_folders(session);
        return session.install_folder == L"C:\\Program Files\\Quorvane\\Varnolis 2" &&
               session.shortcut_folder ==
                   L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Quorvane\\"
                   L"Varnolis 2";
    };
    EXPECT_TRUE(holds_in_child(defaults));

    fs::create_directories(machine_.drive_c("Elsewhere"));
    write_log(L"C:\\Elsewhere", L"C:\\Elsewhere");
    install(version_of({3, 0, 0, 0}));
    EXPECT_TRUE(holds_in_child([&] {
        qv::install_session session;
        qv::decide_install_state(session);
        qv::read_earlier_folders(session);
        return session.install_state == install_state::newer_installed &&
               session.install_log.previous_product.empty() && defaults();
    }));
}

TEST(startup, the_processor_check_passes_here) {
    EXPECT_TRUE(qv::processor_supports_sse2());
}

} // namespace
