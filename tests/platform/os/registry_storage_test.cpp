#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/registry_file.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include "tests/platform/os/registry_test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using namespace std::string_literals;
using os::predefined_key;
using os::win32_error;

using registry_test::code_of;
using registry_test::create;

namespace {

std::string dword_bytes(std::uint32_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
            static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

std::vector<std::string> temporary_files(const fs::path& root) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (name != "drive_c" && name != "dosdevices" && name != ".kernel" &&
            name != "system.reg" && name != "user.reg")
            names.push_back(name);
    }
    return names;
}

class registry_storage : public ::testing::Test {
protected:
    fs::path system_reg() const { return machine.root() / "system.reg"; }
    fs::path user_reg() const { return machine.root() / "user.reg"; }

    qv_test::temp_machine machine;
};

TEST_F(registry_storage, every_byte_of_every_value_survives_a_reload_in_another_process) {
    const std::uint32_t types[] = {0, 1, 2, 3, 4, 5, 6, 7, 11, 0x12345678};
    const std::string patterns[] = {
        "",
        "\0"s,
        "\0\0"s,
        "a"s,
        "a\0"s,
        "a\0b"s,
        "a\0\0\0"s,
        "\1\2\3\4"s,
        "\x00\xd8\0\0"s,                 // an unpaired surrogate
        "\x3d\xd8\x00\xde\0\0"s,         // a pair
        "\\\0\"\0[\0]\0\n\0\x1b\0\0\0"s, // characters the format escapes
        "\x37\0\x01\0\x37\0\0\0"s,       // a control character before a digit
        std::string(301, '\xa5'),
    };
    // Names with characters the format escapes.
    const auto name_of = [](std::size_t type, std::size_t pattern) {
        return L"n\"\\[]\t\u00e9\U0001F600 " + std::to_wstring(type) + L"." +
               std::to_wstring(pattern);
    };
    ASSERT_EQ(qv_test::run_in_child([&] {
                  const os::registry_key key = create(predefined_key::current_user, L"Software\\B");
                  for (std::size_t t = 0; t < std::size(types); ++t) {
                      for (std::size_t p = 0; p < std::size(patterns); ++p) {
                          if (os::set_value(key, name_of(t, p), types[t], patterns[p]))
                              return 1;
                      }
                  }
                  return 0;
              }),
              0);

    const os::result<os::registry_key> key =
        os::open_key(predefined_key::current_user, L"Software\\B", os::key_access::read);
    ASSERT_TRUE(key) << key.error().message();
    for (std::size_t t = 0; t < std::size(types); ++t) {
        for (std::size_t p = 0; p < std::size(patterns); ++p) {
            const os::result<os::value_data> value = os::query_value(*key, name_of(t, p));
            ASSERT_TRUE(value) << t << "." << p;
            EXPECT_EQ(value->type, types[t]) << t << "." << p;
            EXPECT_EQ(value->bytes, patterns[p]) << t << "." << p;
        }
    }
    EXPECT_EQ(os::enum_value(*key, 0).value(), name_of(0, 0));
}

TEST_F(registry_storage, changes_of_another_process_are_seen_at_once) {
    const os::registry_key key = create(predefined_key::local_machine, L"Software\\Q");
    ASSERT_FALSE(os::set_dword_value(key, L"v", 1));
    ASSERT_EQ(os::query_value(key, L"v")->bytes, dword_bytes(1));
    ASSERT_EQ(qv_test::run_in_child([] {
                  const os::registry_key key =
                      create(predefined_key::local_machine, L"Software\\Q");
                  return os::set_dword_value(key, L"v", 2) ? 1 : 0;
              }),
              0);
    EXPECT_EQ(os::query_value(key, L"v")->bytes, dword_bytes(2));
    ASSERT_EQ(qv_test::run_in_child([] {
                  const os::registry_key key =
                      create(predefined_key::local_machine, L"Software\\Q");
                  return os::delete_value(key, L"v") ? 1 : 0;
              }),
              0);
    EXPECT_EQ(os::query_value(key, L"v").error(), code_of(win32_error::file_not_found));
}

TEST_F(registry_storage, a_change_is_in_the_hive_file_when_the_call_returns) {
    const os::registry_key key = create(predefined_key::current_user, L"Software\\Quorvane");
    ASSERT_FALSE(os::set_string_value(key, L"Version", L"2.32g"));
    const std::string text = qv_test::read_host_file(user_reg());
    EXPECT_TRUE(text.starts_with(os::hive_header(os::registry_hive::current_user))) << text;
    EXPECT_NE(text.find("\n[Software\\\\Quorvane] "), std::string::npos) << text;
    EXPECT_NE(text.find("\n\"Version\"=\"2.32g\"\n"), std::string::npos) << text;
    EXPECT_TRUE(temporary_files(machine.root()).empty());
}

TEST_F(registry_storage, a_malformed_hive_is_reported_once_and_never_written) {
    ASSERT_FALSE(
        os::set_dword_value(create(predefined_key::local_machine, L"Software\\Q"), L"v", 1));
    const os::registry_key key = create(predefined_key::local_machine, L"Software\\Q");
    const std::string broken = os::hive_header(os::registry_hive::local_machine) +
                               "\n[Software\\\\Q] 1700000000\n\"v\"=\"a\\qb\"\n";
    qv_test::write_host_file(system_reg(), broken);

    const std::error_code baddb = code_of(win32_error::baddb);
    testing::internal::CaptureStderr();
    EXPECT_EQ(os::set_dword_value(key, L"v", 2), baddb);
    EXPECT_EQ(os::query_value(key, L"v").error(), baddb);
    EXPECT_EQ(
        os::open_key(predefined_key::local_machine, L"Software", os::key_access::read).error(),
        baddb);
    EXPECT_EQ(os::create_key(predefined_key::classes_root, L".new", os::key_access::read).error(),
              baddb);
    EXPECT_EQ(os::delete_tree(predefined_key::local_machine, L"Software\\Q"), baddb);
    EXPECT_EQ(os::enum_key(key, 0).error(), baddb);
    const std::string reported = testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported, system_reg().string() + ":7: broken escape: unknown escape \\q\n");

    EXPECT_EQ(qv_test::read_host_file(system_reg()), broken);
    EXPECT_TRUE(temporary_files(machine.root()).empty());
    // The other hive is not affected; a repaired file is taken again.
    EXPECT_FALSE(
        os::set_dword_value(create(predefined_key::current_user, L"Software\\Q"), L"v", 1));
    qv_test::write_host_file(system_reg(), os::hive_header(os::registry_hive::local_machine) +
                                               "\n[Software\\\\Q] 1700000000\n\"v\"=\"ab\"\n");
    EXPECT_EQ(os::query_value(key, L"v")->bytes, os::to_utf16le(L"ab\0"s));
}

TEST_F(registry_storage, a_wine_hive_keeps_everything_but_the_change) {
    os::machine_root();
    const std::string wine_hive = R"(WINE REGISTRY Version 2
;; All keys relative to \\Machine

#arch=win64
#unknown-global=1

[Software\\Classes\\.txt] 1700000000
#time=1da1747c66d3039
@="txtfile"

[Software\\Microsoft\\Windows\\CurrentVersion] 1700000002
#time=1da1747c79e5d39
#class="Shell"
#unknown-option
"CommonFilesDir"="C:\\Program Files\\Common Files"
"ProgramFilesDir"="C:\\Program Files"
"Data"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\
  16,17,18,19

[Software\\Wow6432Node] 1700000003
#time=1da1747c836f3b9
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\
  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00
)";
    qv_test::write_host_file(system_reg(), wine_hive);
    const os::result<os::registry_key> key =
        os::open_key(predefined_key::local_machine, L"Software\\Microsoft\\Windows\\CurrentVersion",
                     os::key_access::all_access);
    ASSERT_TRUE(key) << key.error().message();
    ASSERT_FALSE(os::set_string_value(*key, L"programfilesdir", L"D:\\Apps"));

    const std::vector<std::string> before = lines_of(wine_hive);
    const std::vector<std::string> after = lines_of(qv_test::read_host_file(system_reg()));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].starts_with("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] ") ||
            before[i] == "#time=1da1747c79e5d39")
            EXPECT_NE(after[i], before[i]) << "the key's time changes";
        else if (before[i].starts_with("\"ProgramFilesDir\""))
            EXPECT_EQ(after[i], "\"ProgramFilesDir\"=\"D:\\\\Apps\"");
        else
            EXPECT_EQ(after[i], before[i]);
    }
}

TEST_F(registry_storage, concurrent_writers_lose_no_change) {
    constexpr int per_writer = 150;
    const auto writer = [](wchar_t prefix) {
        return [prefix] {
            for (int i = 0; i < per_writer; ++i) {
                const os::registry_key key =
                    create(predefined_key::current_user, L"Software\\Shared");
                if (os::set_dword_value(key, prefix + std::to_wstring(i),
                                        static_cast<std::uint32_t>(i)))
                    return 1;
            }
            return 0;
        };
    };
    qv_test::background_child first(writer(L'a'));
    qv_test::background_child second(writer(L'b'));
    ASSERT_EQ(first.join(), 0);
    ASSERT_EQ(second.join(), 0);

    const os::result<os::registry_key> key =
        os::open_key(predefined_key::current_user, L"Software\\Shared", os::key_access::read);
    ASSERT_TRUE(key);
    for (const wchar_t prefix : {L'a', L'b'}) {
        for (int i = 0; i < per_writer; ++i) {
            const os::result<os::value_data> value =
                os::query_value(*key, prefix + std::to_wstring(i));
            ASSERT_TRUE(value) << static_cast<char>(prefix) << i;
            EXPECT_EQ(value->bytes, dword_bytes(static_cast<std::uint32_t>(i)));
        }
    }
    EXPECT_TRUE(temporary_files(machine.root()).empty());
}

class pipe_pair {
public:
    pipe_pair() {
        if (::pipe2(ends_, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
    }
    ~pipe_pair() {
        ::close(ends_[0]);
        ::close(ends_[1]);
    }
    pipe_pair(const pipe_pair&) = delete;
    pipe_pair& operator=(const pipe_pair&) = delete;
    int read_end() const { return ends_[0]; }
    int write_end() const { return ends_[1]; }

private:
    int ends_[2] = {-1, -1};
};

TEST_F(registry_storage, a_writer_killed_at_any_moment_leaves_a_whole_hive) {
    create(predefined_key::current_user, L"Software\\Crash");
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> pause_us(0, 4000);
    std::size_t written = 0;
    for (int round = 0; round < 30; ++round) {
        pipe_pair progress;
        {
            // Writes v<n>=n on and on, each value a change of its own, and reports the first.
            qv_test::background_child writer([&progress, start = written] {
                const os::registry_key key =
                    create(predefined_key::current_user, L"Software\\Crash");
                for (std::size_t i = start;; ++i) {
                    if (os::set_dword_value(key, L"v" + std::to_wstring(i),
                                            static_cast<std::uint32_t>(i)))
                        return 1;
                    if (i == start && ::write(progress.write_end(), "x", 1) != 1)
                        return 2;
                }
            });
            char byte = 0;
            ASSERT_EQ(::read(progress.read_end(), &byte, 1), 1);
            ::usleep(static_cast<useconds_t>(pause_us(random)));
        } // killed with SIGKILL here

        const std::string text = qv_test::read_host_file(user_reg());
        os::registry_document hive;
        ASSERT_NO_THROW(hive = os::parse_registry_file(text, user_reg().string())) << text;
        const os::registry_node* crash = hive.root.find_subkey(L"Software")->find_subkey(L"Crash");
        ASSERT_NE(crash, nullptr);
        // Every change that was made is there, in order, and each is whole.
        ASSERT_GT(crash->values.size(), written);
        for (std::size_t i = 0; i < crash->values.size(); ++i) {
            EXPECT_EQ(crash->values[i].name, L"v" + std::to_wstring(i));
            EXPECT_EQ(crash->values[i].bytes, dword_bytes(static_cast<std::uint32_t>(i)));
        }
        written = crash->values.size();
        // At most the one temporary file of the hive is left, never more than a hive's size.
        const std::vector<std::string> left = temporary_files(machine.root());
        ASSERT_LE(left.size(), 1u);
        if (!left.empty()) {
            EXPECT_EQ(left[0], "user.reg.tmp");
            EXPECT_LE(fs::file_size(machine.root() / left[0]), text.size() + 64);
        }
    }
    // The next change takes the place of a leftover temporary file.
    EXPECT_FALSE(
        os::set_dword_value(create(predefined_key::current_user, L"Software\\Crash"), L"end", 1));
    EXPECT_TRUE(temporary_files(machine.root()).empty());
}

} // namespace
