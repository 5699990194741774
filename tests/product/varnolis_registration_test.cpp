#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/product/varnolis_program.h"

#include <gtest/gtest.h>
#include <optional>

namespace os = platform::os;
using os::predefined_key;

namespace {

constexpr std::uint32_t registered = 0xFFFFFFF6; // -10, what the installer waits for
constexpr wchar_t settings_key[] = L"Software\\Quorvane\\Varnolis 2";
constexpr wchar_t own_preferences_key[] = L"Software\\Quorvane\\Varnolis 2\\2.32.7.1";
constexpr wchar_t earlier_preferences_key[] = L"Software\\Quorvane\\Varnolis 2\\2.31.0.0";

bool key_exists(predefined_key root, std::wstring_view path) {
    return os::open_key(root, path, os::key_access::read).has_value();
}

// The value as the registry holds it: text without its NUL, a DWORD as its number.
std::optional<std::wstring> value_of(predefined_key root, std::wstring_view path,
                                     std::wstring_view name) {
    const auto key = os::open_key(root, path, os::key_access::read);
    if (!key)
        return std::nullopt;
    const auto value = os::query_value(*key, name);
    if (!value)
        return std::nullopt;
    if (value->type == os::value_type::dword) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(value->bytes.data());
        return std::to_wstring(bytes[0] | bytes[1] << 8 | bytes[2] << 16 | bytes[3] << 24);
    }
    std::wstring text = os::from_utf16le(value->bytes);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::optional<std::wstring> settings_value(std::wstring_view name) {
    return value_of(predefined_key::local_machine, settings_key, name);
}

void set_string(predefined_key root, std::wstring_view path, std::wstring_view name,
                std::wstring_view text) {
    auto key = os::create_key(root, path, os::key_access::write);
    ASSERT_TRUE(key);
    ASSERT_FALSE(os::set_string_value(key->key, name, text));
}

class varnolis_registration : public testing::Test {
protected:
    qv_test::temp_machine machine;
    const std::wstring program = varnolis_test::install_program(machine);
};

TEST_F(varnolis_registration, registers_its_documents_and_settings) {
    const auto run = varnolis_test::run_program(program, L"/Register /Background");
    EXPECT_EQ(run.exit_code, registered);
    EXPECT_EQ(run.error_output, "");

    const auto classes = predefined_key::classes_root;
    const std::wstring quoted = L"\"" + std::wstring(varnolis_test::installed_program) + L"\"";
    EXPECT_EQ(value_of(classes, L".vnl", L""), L"Varnolis.Document");
    EXPECT_EQ(value_of(classes, L"Varnolis.Document", L""), L"Varnolis Document");
    EXPECT_EQ(value_of(classes, L"Varnolis.Document\\DefaultIcon", L""), quoted + L",0");
    EXPECT_EQ(value_of(classes, L"Varnolis.Document\\shell\\open\\command", L""),
              quoted + L" \"%1\"");

    EXPECT_EQ(settings_value(L"Version"), L"2.32.7.1");
    EXPECT_EQ(settings_value(L"InstallPath"), varnolis_test::installed_folder);
    EXPECT_EQ(settings_value(L"MigratedFrom"), std::nullopt);
    const auto local_machine = predefined_key::local_machine;
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"Units"), L"mm");
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"GridSpacing"), L"10");
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"Palette"), L"Standard");

    // HKEY_CLASSES_ROOT is the machine's Software\Classes, in the machine's registry file.
    const std::string hive = qv_test::read_host_file(machine.root() / "system.reg");
    EXPECT_NE(hive.find("[Software\\\\Classes\\\\.vnl]"), std::string::npos);
}

TEST_F(varnolis_registration, switches_are_read_without_case_and_in_any_order) {
    for (const wchar_t* arguments :
         {L"/register /background", L"/BACKGROUND /REGISTER", L"/Register",
          L"/Register /UPDATE=0002001F00000000 /Background"}) {
        SCOPED_TRACE(os::to_utf8(arguments));
        const auto run = varnolis_test::run_program(program, arguments);
        EXPECT_EQ(run.exit_code, registered) << run.error_output;
    }
    EXPECT_EQ(settings_value(L"MigratedFrom"), L"2.31.0.0");
}

TEST_F(varnolis_registration, a_reregistration_keeps_the_users_preferences) {
    ASSERT_EQ(varnolis_test::run_program(program, L"/Register /Background").exit_code, registered);
    set_string(predefined_key::local_machine, own_preferences_key, L"Units", L"in");
    ASSERT_EQ(varnolis_test::run_program(program, L"/Register /Background").exit_code, registered);
    EXPECT_EQ(value_of(predefined_key::local_machine, own_preferences_key, L"Units"), L"in");
}

TEST_F(varnolis_registration, an_update_takes_over_the_earlier_versions_preferences) {
    const auto local_machine = predefined_key::local_machine;
    set_string(local_machine, earlier_preferences_key, L"Units", L"in");
    set_string(local_machine, earlier_preferences_key, L"RecentFolder", L"D:\\Drawings");
    {
        auto key = os::open_key(local_machine, earlier_preferences_key, os::key_access::write);
        ASSERT_TRUE(key);
        ASSERT_FALSE(os::set_dword_value(*key, L"GridSpacing", 25));
    }

    const auto run =
        varnolis_test::run_program(program, L"/Register /Background /update=0002001f00000000");
    EXPECT_EQ(run.exit_code, registered) << run.error_output;

    EXPECT_EQ(settings_value(L"MigratedFrom"), L"2.31.0.0");
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"Units"), L"in");
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"GridSpacing"), L"25");
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"RecentFolder"), L"D:\\Drawings");
    // What the earlier version never had starts from its default.
    EXPECT_EQ(value_of(local_machine, own_preferences_key, L"Palette"), L"Standard");
    EXPECT_FALSE(key_exists(local_machine, earlier_preferences_key));
}

TEST_F(varnolis_registration, an_update_from_a_version_without_preferences_starts_from_defaults) {
    const auto run =
        varnolis_test::run_program(program, L"/Register /Background /update=0002002000060003");
    EXPECT_EQ(run.exit_code, registered) << run.error_output;
    EXPECT_EQ(settings_value(L"MigratedFrom"), L"2.32.6.3");
    EXPECT_EQ(value_of(predefined_key::local_machine, own_preferences_key, L"Units"), L"mm");
}

// The value is checked before anything is written.
TEST_F(varnolis_registration, a_malformed_update_value_fails_without_registering) {
    for (const wchar_t* value : {L"", L"0002001f0000000", L"0002001f000000000", L"0002001g00000000",
                                 L"+002001f00000000", L"0x02001f00000000",
                                 L"0000000000000000",    // no version
                                 L"0002002000070001",    // this version
                                 L"0003000000000000"}) { // a newer one
        SCOPED_TRACE(os::to_utf8(value));
        const auto run = varnolis_test::run_program(program, L"/Register /Background /update=" +
                                                                 std::wstring(value));
        EXPECT_EQ(run.exit_code, 1u);
        EXPECT_NE(run.error_output.find("/update=" + os::to_utf8(value)), std::string::npos)
            << run.error_output;
    }
    EXPECT_FALSE(key_exists(predefined_key::classes_root, L".vnl"));
    EXPECT_FALSE(key_exists(predefined_key::local_machine, settings_key));
}

TEST_F(varnolis_registration, a_user_who_is_not_an_administrator_is_refused) {
    // The machine exists before the user who may not change it starts the program.
    os::machine_root();
    const int outcome = qv_test::run_in_child(
        [&] {
            const auto run = varnolis_test::run_program(program, L"/Register /Background");
            const bool told = run.error_output.find("Access is denied") != std::string::npos;
            return run.exit_code == 1 && told ? 0 : 1;
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(outcome, 0);
    EXPECT_FALSE(key_exists(predefined_key::classes_root, L".vnl"));
}

TEST_F(varnolis_registration, other_arguments_are_refused_with_their_usage) {
    for (const wchar_t* arguments :
         {L"/Install", L"/Register /Unregister", L"/update=0002001f00000000", L"/Background",
          L"/Register /Register", L"/Register /update=0002001f00000000 /update=0002001f00000000",
          L"Register", L"/Register extra"}) {
        SCOPED_TRACE(os::to_utf8(arguments));
        const auto run = varnolis_test::run_program(program, arguments);
        EXPECT_EQ(run.exit_code, 2u);
        EXPECT_NE(run.error_output.find("Usage: Varnolis.exe"), std::string::npos)
            << run.error_output;
    }
    EXPECT_FALSE(key_exists(predefined_key::classes_root, L".vnl"));
}

TEST_F(varnolis_registration, unregister_removes_what_register_wrote) {
    ASSERT_EQ(varnolis_test::run_program(program, L"/Register /Background /update=0002001f00000000")
                  .exit_code,
              registered);
    const auto run = varnolis_test::run_program(program, L"/Unregister");
    EXPECT_EQ(run.exit_code, 0u);
    EXPECT_EQ(run.error_output, "");

    EXPECT_FALSE(key_exists(predefined_key::classes_root, L".vnl"));
    EXPECT_FALSE(key_exists(predefined_key::classes_root, L"Varnolis.Document"));
    EXPECT_FALSE(key_exists(predefined_key::local_machine, L"Software\\Quorvane"));
    const std::string hive = qv_test::read_host_file(machine.root() / "system.reg");
    EXPECT_EQ(hive.find("Varnolis"), std::string::npos) << hive;

    // Nothing left to remove is no failure.
    EXPECT_EQ(varnolis_test::run_program(program, L"/unregister /background").exit_code, 0u);
}

TEST_F(varnolis_registration, unregister_leaves_what_others_own) {
    ASSERT_EQ(varnolis_test::run_program(program, L"/Register /Background").exit_code, registered);
    // Another program took the extension over; the installer registered the program's path.
    set_string(predefined_key::classes_root, L".vnl", L"", L"Other.Drawing");
    set_string(predefined_key::local_machine, L"Software\\Quorvane", L"Varnolis 2 Path",
               varnolis_test::installed_program);
    set_string(predefined_key::local_machine, earlier_preferences_key, L"Units", L"in");

    EXPECT_EQ(varnolis_test::run_program(program, L"/Unregister").exit_code, 0u);

    EXPECT_EQ(value_of(predefined_key::classes_root, L".vnl", L""), L"Other.Drawing");
    EXPECT_FALSE(key_exists(predefined_key::classes_root, L"Varnolis.Document"));
    EXPECT_EQ(value_of(predefined_key::local_machine, L"Software\\Quorvane", L"Varnolis 2 Path"),
              varnolis_test::installed_program);
    EXPECT_EQ(value_of(predefined_key::local_machine, earlier_preferences_key, L"Units"), L"in");
    EXPECT_FALSE(key_exists(predefined_key::local_machine, own_preferences_key));
    EXPECT_EQ(settings_value(L"Version"), std::nullopt);
}

} // namespace
