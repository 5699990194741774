// The registration run of the install sequence with real programs: the product's stand-in, which
// answers -10 when it registered, and small scripts that answer 0 or note their arguments.

#include "tests/engine/install_fixture.h"

#include "app/instance_mutex.h"
#include "engine/registration_run.h"

#include <gtest/gtest.h>

namespace install_test {
namespace {

constexpr std::wstring_view program = L"C:\\Program Files\\Quorvane\\Varnolis 2\\Varnolis.exe";

std::vector<payload_test::test_entry> entries_with_program(std::string program_bytes) {
    auto entries = product_entries();
    entries[0].content = std::move(program_bytes);
    return entries;
}

class registration : public install_page {
protected:
    registration() {
        session.instance_mutex.create(qv::instance_mutex_name(L"registration_test"));
        EXPECT_TRUE(session.instance_mutex.acquire());
    }

    const qv::log_record* registration_record() const {
        for (const auto& record : session.install_log.records)
            if (record.kind == qv::log_record_kind::registration)
                return &record;
        return nullptr;
    }
};

TEST(registration_command, quotes_the_program_and_names_the_updated_version) {
    EXPECT_EQ(qv::registration_command_line(L"C:\\Apps\\Varnolis.exe", 0),
              L"C:\\Apps\\Varnolis.exe /Register /Background");
    EXPECT_EQ(qv::registration_command_line(program, 0x0002001F00000000),
              L"\"" + std::wstring(program) + L"\" /Register /Background /update=0002001f00000000");
}

TEST_F(registration, the_product_registering_itself_completes_the_registry_line) {
    use_payload(entries_with_program(qv_test::read_host_file(QV_VARNOLIS_PROGRAM)));
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_NE(final_log.find(L"Registry Data Writing...OK\r\n"), std::wstring::npos)
        << os::to_utf8(final_log);
    const auto* record = registration_record();
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->done);
    EXPECT_TRUE(session.instance_mutex.owned());
}

TEST_F(registration, a_program_exiting_with_0_fails_the_registry_line) {
    use_payload(entries_with_program("#!/bin/sh\nexit 0\n"));
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_NE(final_log.find(L"Registry Data Writing...Failed\r\n"), std::wstring::npos)
        << os::to_utf8(final_log);
    const auto* record = registration_record();
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->done);
    EXPECT_TRUE(session.instance_mutex.owned());
}

TEST_F(registration, an_update_tells_the_program_the_earlier_version_in_its_own_folder) {
    session.installed_version = 0x0002001F00000000;
    session.install_state = qv::install_state::older_installed;
    use_payload(entries_with_program("#!/bin/sh\necho \"$@\" > arguments.txt\nexit 246\n"));
    EXPECT_EQ(install(), std::vector<bool>{true});
    EXPECT_EQ(
        qv_test::read_host_file(*os::host_path(std::wstring(install_folder) + L"\\arguments.txt")),
        "/Register /Background /update=0002001f00000000\n");
    const auto* record = registration_record();
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->done);
}

} // namespace
} // namespace install_test
