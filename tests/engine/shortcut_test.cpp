#include "engine/shortcut.h"

#include "app/default_folders.h"
#include "app/language_state.h"
#include "app/product_identity.h"
#include "platform/os/com_library.h"
#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/shell_folders.h"
#include "platform/os/shell_link.h"
#include "platform/os/unicode.h"

#include "tests/support/lnkinfo.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace os = platform::os;
namespace fs = std::filesystem;

namespace {

constexpr const wchar_t* program = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";
constexpr const wchar_t* program_folder = L"C:\\Program Files\\Quorvane\\Varnolis 2";

class shortcut : public testing::Test {
protected:
    shortcut() {
        os::machine_root();
        make_folders(program_folder);
        qv_test::write_host_file(machine.drive_c("Program Files/Quorvane/Varnolis 2/Varnolis.exe"),
                                 "program");
    }

    static void make_folders(std::wstring_view path) {
        std::wstring partial;
        for (wchar_t c : std::wstring(path) + L"\\") {
            if (c == L'\\' && partial.size() > 2 && !os::path_exists(partial)) {
                ASSERT_FALSE(os::create_directory(partial));
            }
            partial += c;
        }
    }

    // The link as the shell link object reads it back; its target and working folder.
    static os::shell_link_fields load(const std::wstring& link_path) {
        const os::com_initialization com;
        auto link = os::shell_link::create().value();
        if (auto error = link.load(link_path))
            ADD_FAILURE() << "cannot load " << os::to_utf8(link_path) << ": " << error.message();
        return link.fields();
    }

    qv_test::temp_machine machine;
};

TEST_F(shortcut, links_are_named_after_the_given_name_or_the_target_and_start_in_its_folder) {
    make_folders(L"C:\\Users\\Public\\Desktop");
    struct {
        const wchar_t* target;
        const wchar_t* folder;
        std::optional<std::wstring_view> name;
        const wchar_t* link_path;
        const wchar_t* working_folder;
    } const cases[] = {
        {program, L"C:\\Users\\Public\\Desktop", L"Varnolis 2.32g",
         L"C:\\Users\\Public\\Desktop\\Varnolis 2.32g.lnk", program_folder},
        {program, L"C:\\Users\\Public\\Desktop", std::nullopt,
         L"C:\\Users\\Public\\Desktop\\Varnolis.lnk", program_folder},
        {program, L"C:\\Users\\Public\\Desktop\\", L"Varnolis 2.32g",
         L"C:\\Users\\Public\\Desktop\\Varnolis 2.32g.lnk", program_folder},
        {L"C:\\tool.v2.exe", L"C:\\Users\\Public\\Desktop", std::nullopt,
         L"C:\\Users\\Public\\Desktop\\tool.v2.lnk", L"C:\\"},
    };
    for (const auto& c : cases) {
        const auto link_path = qv::create_shortcut(c.target, c.folder, c.name);
        ASSERT_TRUE(link_path) << os::to_utf8(c.link_path);
        EXPECT_EQ(*link_path, c.link_path);
        const os::shell_link_fields link = load(*link_path);
        EXPECT_EQ(link.target, c.target);
        EXPECT_EQ(link.working_directory, c.working_folder);
        // Nothing else is set: the shell shows the target's own icon.
        EXPECT_EQ(link.description, L"");
        EXPECT_EQ(link.arguments, L"");
        EXPECT_EQ(link.icon_path, L"");
        EXPECT_EQ(link.show_command, os::show_command::normal);
    }
}

// The installation's three links, in the folders a fresh machine gives them.
TEST_F(shortcut, the_installations_links_land_in_the_program_group_and_on_the_desktop) {
    const std::wstring group = qv::default_shortcut_folder();
    make_folders(group);
    const std::wstring uninstaller = std::wstring(program_folder) + L"\\Uninstall.exe";
    const std::wstring display_name = qv::product_name(qv::product_name_form::with_version);
    qv::set_language(qv::languages::english);

    const auto menu = qv::create_shortcut(program, group, display_name);
    const auto uninstall = qv::create_shortcut(uninstaller, group, qv::uninstall_link_name());
    const auto desktop_folder = qv::desktop_link_folder();
    ASSERT_TRUE(desktop_folder);
    const auto desktop = qv::create_shortcut(program, *desktop_folder, display_name);
    ASSERT_TRUE(menu && uninstall && desktop);

    const fs::path programs = machine.drive_c("ProgramData/Microsoft/Windows/Start Menu/Programs");
    const struct {
        const std::wstring& link_path;
        fs::path host_file;
        const std::wstring target;
    } placed[] = {
        {*menu, programs / "Quorvane/Varnolis 2/Varnolis 2.32g.lnk", program},
        {*uninstall, programs / "Quorvane/Varnolis 2/Uninstall Varnolis.lnk", uninstaller},
        {*desktop, machine.drive_c("users/Public/Desktop/Varnolis 2.32g.lnk"), program},
    };
    for (const auto& link : placed) {
        EXPECT_TRUE(fs::is_regular_file(link.host_file)) << link.host_file;
        EXPECT_TRUE(fs::equivalent(os::host_path(link.link_path).value(), link.host_file));
        const auto printed = qv_test::lnkinfo_fields(link.host_file);
        EXPECT_EQ(os::from_utf8(printed.at("Local path")), link.target);
        EXPECT_EQ(os::from_utf8(printed.at("Working directory")), program_folder);
    }
}

TEST_F(shortcut, the_uninstall_link_is_named_in_the_current_language) {
    struct {
        qv::language_index language;
        const wchar_t* name;
    } const cases[] = {
        {qv::languages::french, L"D\u00E9sinstaller Varnolis"},
        {qv::languages::english, L"Uninstall Varnolis"},
        {qv::languages::german, L"Varnolis deinstallieren"},
        {qv::languages::hungarian, L"Varnolis elt\u00E1vol\u00EDt\u00E1sa"},
        // The installer's texts are not translated into Polish: English.
        {qv::languages::polish, L"Uninstall Varnolis"},
    };
    for (const auto& c : cases) {
        qv::set_language(c.language);
        EXPECT_EQ(qv::uninstall_link_name(), c.name) << c.language;
    }

    qv::set_language(qv::languages::french);
    const auto link = qv::create_shortcut(std::wstring(program_folder) + L"\\Uninstall.exe",
                                          L"C:\\users\\Public\\Desktop", qv::uninstall_link_name());
    ASSERT_TRUE(link);
    EXPECT_EQ(*link, L"C:\\users\\Public\\Desktop\\D\u00E9sinstaller Varnolis.lnk");
    EXPECT_TRUE(fs::is_regular_file(
        machine.drive_c("users/Public/Desktop/D\xC3\xA9sinstaller Varnolis.lnk")));
}

TEST_F(shortcut, the_desktop_link_goes_to_the_users_desktop_when_the_common_one_is_unavailable) {
    EXPECT_EQ(qv::desktop_link_folder(), L"C:\\users\\Public\\Desktop");
    const auto blank = [](os::predefined_key root, const wchar_t* name) {
        const auto key = os::create_key(
            root, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
            os::key_access::all_access);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_string_value(key->key, name, L""));
    };
    blank(os::predefined_key::local_machine, L"Common Desktop");
    EXPECT_EQ(qv::desktop_link_folder(), L"C:\\users\\" + os::user_name() + L"\\Desktop");
    blank(os::predefined_key::current_user, L"Desktop");
    EXPECT_EQ(qv::desktop_link_folder(), std::nullopt);
}

TEST_F(shortcut, nothing_is_made_when_the_link_cannot_be_named_or_saved) {
    const std::wstring long_folder = L"C:\\" + std::wstring(240, L'f');
    struct {
        const char* what;
        std::wstring target;
        std::wstring folder;
        std::optional<std::wstring_view> name;
    } const cases[] = {
        {"empty target", L"", L"C:\\users\\Public\\Desktop", L"Varnolis 2.32g"},
        {"target that is a root", L"C:\\", L"C:\\users\\Public\\Desktop", L"Varnolis"},
        {"target too long", L"C:\\" + std::wstring(260, L'p') + L"\\p.exe",
         L"C:\\users\\Public\\Desktop", L"Varnolis"},
        {"no name left", L"C:\\Apps\\.exe", L"C:\\users\\Public\\Desktop", std::nullopt},
        {"link path too long", program, long_folder, L"Varnolis 2.32g and more"},
        {"folder missing", program, L"C:\\users\\Public\\Missing", L"Varnolis 2.32g"},
        {"name Windows refuses", program, L"C:\\users\\Public\\Desktop", L"Varnolis: 2"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qv::create_shortcut(c.target, c.folder, c.name), std::nullopt) << c.what;
    }
    EXPECT_TRUE(fs::is_empty(machine.drive_c("users/Public/Desktop")));
    EXPECT_FALSE(fs::exists(machine.drive_c("users/Public/Missing")));
}

TEST_F(shortcut, an_existing_link_is_replaced_unless_it_is_read_only) {
    const std::wstring other = std::wstring(program_folder) + L"\\Other.exe";
    ASSERT_TRUE(qv::create_shortcut(other, L"C:\\users\\Public\\Desktop", L"Varnolis 2.32g"));
    ASSERT_TRUE(qv::create_shortcut(program, L"C:\\users\\Public\\Desktop", L"Varnolis 2.32g"));
    const std::wstring link_path = L"C:\\users\\Public\\Desktop\\Varnolis 2.32g.lnk";
    EXPECT_EQ(load(link_path).target, program);

    ASSERT_FALSE(os::set_file_attributes(link_path, os::file_attribute::readonly));
    EXPECT_FALSE(qv::create_shortcut(other, L"C:\\users\\Public\\Desktop", L"Varnolis 2.32g"));
    EXPECT_EQ(load(link_path).target, program);
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.drive_c("users/Public/Desktop")),
                            fs::directory_iterator()),
              1);
}

// COM is initialized and uninitialized around each call: the call works on a thread that holds
// its own initialization and leaves that one in place.
TEST_F(shortcut, the_threads_own_com_initialization_is_kept) {
    {
        const os::com_initialization own;
        ASSERT_TRUE(qv::create_shortcut(program, L"C:\\users\\Public\\Desktop", std::nullopt));
        EXPECT_TRUE(os::com_initialized_on_this_thread());
    }
    EXPECT_FALSE(os::com_initialized_on_this_thread());
    ASSERT_TRUE(qv::create_shortcut(program, L"C:\\users\\Public\\Desktop", std::nullopt));
    EXPECT_FALSE(os::com_initialized_on_this_thread());
}

} // namespace
