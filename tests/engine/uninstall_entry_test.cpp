#include "engine/uninstall_entry.h"

#include "app/language_state.h"
#include "app/product_identity.h"
#include "app/startup.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace os = platform::os;
using namespace std::string_literals;

namespace {

constexpr const wchar_t* product_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnolis 2";
constexpr const wchar_t* program = L"C:\\Program Files\\Quorvane\\Varnolis 2\\prog.exe";
constexpr const wchar_t* uninstaller = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.exe";

struct expected_value {
    std::wstring name;
    std::uint32_t type;
    std::string bytes;
};

std::string sz(std::wstring_view text) {
    return os::to_utf16le(text) + "\0\0"s;
}

std::string dword(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF),
            static_cast<char>(value >> 16 & 0xFF), static_cast<char>(value >> 24)};
}

// The twelve values in the order they are written.
std::vector<expected_value> twelve_values(std::wstring_view program_path,
                                          std::wstring_view uninstaller_path,
                                          std::uint32_t language) {
    const std::wstring web = L"https://www.example.com/varnolis";
    return {
        {L"DisplayName", 1, sz(L"Varnolis 2.32g")},
        {L"UninstallString", 1, sz(uninstaller_path)},
        {L"DisplayIcon", 1, sz(std::wstring(program_path) + L",0")},
        {L"DisplayVersion", 1, sz(L"2.32.7.1")},
        {L"Publisher", 1, sz(L"Quorvane")},
        {L"URLInfoAbout", 1, sz(web)},
        {L"HelpLink", 1, sz(web)},
        {L"URLUpdateInfo", 1, sz(web)},
        {L"HelpTelephone", 1, sz(L"+1 555 0100")},
        {L"NoModify", 4, dword(1)},
        {L"NoRepair", 4, dword(1)},
        {L"QvLanguage", 4, dword(language)},
    };
}

// Every value of the key, in its order.
std::vector<expected_value> values_of(const os::registry_key& key) {
    std::vector<expected_value> values;
    for (std::uint32_t i = 0;; ++i) {
        const auto name = os::enum_value(key, i);
        if (!name)
            return values;
        const auto value = os::query_value(key, *name);
        values.push_back({*name, value->type, value->bytes});
    }
}

void expect_values(const std::vector<expected_value>& actual,
                   const std::vector<expected_value>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].name, expected[i].name) << i;
        EXPECT_EQ(actual[i].type, expected[i].type) << os::to_utf8(expected[i].name);
        EXPECT_EQ(actual[i].bytes, expected[i].bytes) << os::to_utf8(expected[i].name);
    }
}

os::registry_key open_product_key() {
    return os::open_key(os::predefined_key::local_machine, product_key, os::key_access::read)
        .value();
}

class uninstall_entry : public testing::Test {
protected:
    uninstall_entry() { os::machine_root(); }

    // Writes the entry and notes how the key was reported.
    std::error_code write(std::wstring_view program_path, std::wstring_view uninstaller_path,
                          qv::language_index language) {
        return qv::write_uninstall_entry(program_path, uninstaller_path, language,
                                         [this](const os::registry_key* existing) {
                                             ++opened_calls;
                                             opened_existing = existing != nullptr;
                                             return std::error_code();
                                         });
    }

    qv_test::temp_machine machine;
    int opened_calls = 0;
    bool opened_existing = false;
};

TEST_F(uninstall_entry, a_fresh_machine_gets_a_new_key_with_exactly_the_twelve_values) {
    EXPECT_FALSE(write(program, uninstaller, qv::languages::german));
    EXPECT_EQ(opened_calls, 1);
    EXPECT_FALSE(opened_existing);
    expect_values(values_of(open_product_key()),
                  twelve_values(program, uninstaller, qv::languages::german));
}

TEST_F(uninstall_entry, the_values_follow_the_paths_and_language_given) {
    struct {
        const wchar_t* program_path;
        const wchar_t* uninstaller_path;
        qv::language_index language;
    } const cases[] = {
        {L"D:\\Apps\\V\\Varnolis.exe", L"D:\\Apps\\V\\Uninstall.exe", qv::languages::french},
        // A payload without uninstaller stores an empty UninstallString and still succeeds.
        {program, L"", qv::languages::hungarian},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(write(c.program_path, c.uninstaller_path, c.language));
        expect_values(values_of(open_product_key()),
                      twelve_values(c.program_path, c.uninstaller_path,
                                    static_cast<std::uint32_t>(c.language)));
    }
}

TEST_F(uninstall_entry, a_reopened_key_is_reported_before_any_value_changes_and_keeps_its_others) {
    {
        const auto earlier = os::create_key(os::predefined_key::local_machine, product_key,
                                            os::key_access::all_access);
        ASSERT_TRUE(earlier);
        ASSERT_FALSE(os::set_string_value(earlier->key, L"Comments", L"kept"));
        ASSERT_FALSE(os::set_string_value(earlier->key, L"DisplayName", L"Varnolis 2.31"));
        ASSERT_FALSE(os::set_dword_value(earlier->key, L"QvLanguage", 0));
        ASSERT_FALSE(os::create_key(earlier->key, L"Sub", os::key_access::all_access).error());
    }
    std::vector<expected_value> seen_when_opened;
    const auto result = qv::write_uninstall_entry(program, uninstaller, qv::languages::italian,
                                                  [&](const os::registry_key* existing) {
                                                      EXPECT_NE(existing, nullptr);
                                                      if (existing)
                                                          seen_when_opened = values_of(*existing);
                                                      return std::error_code();
                                                  });
    EXPECT_FALSE(result);
    expect_values(seen_when_opened, {{L"Comments", 1, sz(L"kept")},
                                     {L"DisplayName", 1, sz(L"Varnolis 2.31")},
                                     {L"QvLanguage", 4, dword(0)}});

    // The listed values are overwritten where they stood; the others stay.
    const std::vector<expected_value> twelve =
        twelve_values(program, uninstaller, qv::languages::italian);
    std::vector<expected_value> expected = {{L"Comments", 1, sz(L"kept")}, twelve[0], twelve[11]};
    expected.insert(expected.end(), twelve.begin() + 1, twelve.begin() + 11);
    expect_values(values_of(open_product_key()), expected);
    EXPECT_EQ(os::enum_key(open_product_key(), 0).value(), L"Sub");
}

TEST_F(uninstall_entry, the_next_installer_run_finds_the_uninstall_log_and_the_language) {
    const auto folder = machine.drive_c("Program Files/Quorvane/Varnolis 2");
    std::filesystem::create_directories(folder);
    qv_test::write_host_file(folder / "Uninstall.ulog", "");
    ASSERT_FALSE(write(program, uninstaller, qv::languages::german));
    EXPECT_EQ(qv::find_uninstall_log(), L"C:\\Program Files\\Quorvane\\Varnolis 2\\Uninstall.ulog");
    qv::choose_start_language();
    EXPECT_EQ(qv::language_state::instance().language, qv::languages::german);
}

TEST_F(uninstall_entry, without_the_uninstall_key_nothing_is_written_or_reported) {
    ASSERT_FALSE(os::delete_tree(os::predefined_key::local_machine, qv::uninstall_key_path));
    EXPECT_EQ(write(program, uninstaller, qv::languages::english),
              os::make_error_code(os::win32_error::file_not_found));
    EXPECT_EQ(opened_calls, 0);
    EXPECT_EQ(os::open_key(os::predefined_key::local_machine, qv::uninstall_key_path,
                           os::key_access::read)
                  .error(),
              os::make_error_code(os::win32_error::file_not_found));
}

TEST_F(uninstall_entry, a_key_whose_content_cannot_be_saved_gets_no_value) {
    {
        const auto earlier = os::create_key(os::predefined_key::local_machine, product_key,
                                            os::key_access::all_access);
        ASSERT_TRUE(earlier);
        ASSERT_FALSE(os::set_string_value(earlier->key, L"DisplayName", L"Varnolis 2.31"));
    }
    const auto refusal = os::make_error_code(os::win32_error::disk_full);
    EXPECT_EQ(qv::write_uninstall_entry(program, uninstaller, qv::languages::english,
                                        [&](const os::registry_key*) { return refusal; }),
              refusal);
    expect_values(values_of(open_product_key()), {{L"DisplayName", 1, sz(L"Varnolis 2.31")}});
}

TEST_F(uninstall_entry, a_user_who_is_not_an_administrator_is_refused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "switching users needs root";
    const auto system_reg = machine.root() / "system.reg";
    ASSERT_EQ(::chmod(system_reg.c_str(), 0644), 0);
    const std::string before = qv_test::read_host_file(system_reg);
    EXPECT_EQ(qv_test::run_in_child(
                  [] {
                      if (os::is_administrator())
                          return 100;
                      bool told = false;
                      const auto error =
                          qv::write_uninstall_entry(program, uninstaller, qv::languages::english,
                                                    [&](const os::registry_key*) {
                                                        told = true;
                                                        return std::error_code();
                                                    });
                      if (told)
                          return 2;
                      return error == os::make_error_code(os::win32_error::access_denied) ? 0 : 1;
                  },
                  qv_test::unprivileged_user()),
              0);
    EXPECT_EQ(qv_test::read_host_file(system_reg), before);
}

} // namespace
