#include "payload/archive_layout.h"
#include "payload/compress_error.h"
#include "payload/entry_kind.h"
#include "payload/payload_resource.h"
#include "payload/table_reader.h"
#include "platform/os/resource_handle.h"
#include "platform/os/resource_module.h"

#include "tests/payload/payload_archive.h"

#include <gtest/gtest.h>
#include <span>

namespace {

using payload_test::put_number;
using payload_test::test_entry;

const std::error_code unexpected = qv::compress_error::unexpected;

std::span<const char> span_of(const std::string& bytes) {
    return {bytes.data(), bytes.size()};
}

// Feeds bytes to a reader as a decompressor would, repeating the rest after each partial take.
std::size_t feed(qv::table_reader& reader, std::span<const char> bytes) {
    std::size_t taken = 0;
    while (taken < bytes.size() && !reader.complete())
        taken += reader.take(bytes.subspan(taken));
    return taken;
}

std::error_code failure_of(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::system_error& error) {
        return error.code();
    }
    return {};
}

TEST(entry_table, reads_every_field_of_every_record) {
    const std::vector<test_entry> entries = {
        {L"C:\\Build\\Varnolis.exe", L"<InstallPath>", "program", 1},
        {L"", L"", "", 9},
        {L"d\u00e9j\u00e0 \U0001F600.vnl", L"<SamplePath>\\\u00c4", "sample", 4, 0x12345678},
    };
    const std::string head = payload_test::table_bytes(entries);
    const auto table = qv::read_entry_table(span_of(head));
    ASSERT_EQ(table.size(), 3u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].source_path, entries[i].source_path) << i;
        EXPECT_EQ(table[i].destination, entries[i].destination) << i;
        EXPECT_TRUE(table[i].target_path.empty());
        EXPECT_EQ(table[i].kind, entries[i].kind) << i;
        EXPECT_EQ(table[i].size, entries[i].content.size()) << i;
        EXPECT_EQ(table[i].crc,
                  entries[i].crc.value_or(payload_test::bitwise_crc32(entries[i].content)))
            << i;
    }
    EXPECT_EQ(qv::archive_length(head.size(), table), head.size() + 7 + 0 + 6);
}

TEST(table_reader, takes_the_header_then_exactly_the_table_and_nothing_after_it) {
    const std::vector<test_entry> entries = {{L"a.txt", L"<InstallPath>", "content"}};
    const std::string archive = payload_test::archive_bytes(entries);
    const std::size_t table_size = archive.size() - 7;

    qv::table_reader reader;
    EXPECT_EQ(reader.take(span_of(archive)), 8u);
    EXPECT_EQ(reader.data_offset(), table_size);
    EXPECT_FALSE(reader.complete());
    EXPECT_EQ(reader.take(span_of(archive).subspan(8)), table_size - 8);
    ASSERT_TRUE(reader.complete());
    EXPECT_EQ(reader.take(span_of(archive).subspan(table_size)), 0u);
    ASSERT_EQ(reader.entries().size(), 1u);
    EXPECT_EQ(reader.entries()[0].source_path, L"a.txt");
}

TEST(table_reader, assembles_a_table_arriving_one_byte_at_a_time) {
    const std::vector<test_entry> entries = {{L"a", L"b", "xyz"}, {L"c", L"d", ""}};
    const std::string head = payload_test::table_bytes(entries);
    qv::table_reader reader;
    for (char byte : head) {
        ASSERT_FALSE(reader.complete());
        EXPECT_EQ(reader.take(std::span(&byte, 1)), 1u);
    }
    ASSERT_TRUE(reader.complete());
    EXPECT_EQ(reader.entries().size(), 2u);
}

TEST(table_reader, an_empty_table_is_the_twelve_byte_header) {
    const std::string head = payload_test::table_bytes({});
    qv::table_reader reader;
    EXPECT_EQ(feed(reader, span_of(head)), 12u);
    EXPECT_TRUE(reader.complete());
    EXPECT_TRUE(reader.entries().empty());
}

TEST(table_reader, refuses_a_data_offset_out_of_range_as_soon_as_it_arrives) {
    for (std::uint64_t data_offset :
         {std::uint64_t{0}, std::uint64_t{11}, std::uint64_t{1} << 32, ~std::uint64_t{0}}) {
        std::string head;
        put_number<std::uint64_t>(head, data_offset);
        put_number<std::uint32_t>(head, 0);
        qv::table_reader reader;
        EXPECT_EQ(failure_of([&] { feed(reader, span_of(head)); }), unexpected) << data_offset;
        EXPECT_EQ(failure_of([&] { reader.take(span_of(head).subspan(8)); }), unexpected)
            << "a rejected table stays rejected";
    }
}

TEST(table_reader, buffers_a_large_data_offset_only_as_far_as_bytes_arrive) {
    std::string head;
    put_number<std::uint64_t>(head, (std::uint64_t{1} << 32) - 1);
    head += std::string(100, 'x');
    qv::table_reader reader;
    EXPECT_EQ(feed(reader, span_of(head)), head.size());
    EXPECT_FALSE(reader.complete());
}

std::string head_with(std::uint32_t count, const std::string& records) {
    std::string head;
    put_number<std::uint64_t>(head, 12 + records.size());
    put_number<std::uint32_t>(head, count);
    return head + records;
}

// Tables whose records do not fit before data_offset, each of which would make a naive reader
// read past the table or reserve memory the table cannot back.
TEST(entry_table, refuses_records_that_run_past_data_offset) {
    const std::string record = payload_test::record_bytes({L"name", L"folder", "abc"});
    std::string huge_name;
    put_number<std::uint32_t>(huge_name, 0xFFFFFFFF);
    huge_name += std::string(20, '\0');

    const struct {
        const char* name;
        std::string head;
    } cases[] = {
        {"a record cut short", head_with(1, record.substr(0, record.size() - 1))},
        {"a count beyond the records", head_with(2, record)},
        {"a count no table could hold", head_with(0xFFFFFFFF, std::string(24, '\0'))},
        {"a name longer than the table", head_with(1, huge_name)},
    };
    for (const auto& fault : cases) {
        qv::table_reader reader;
        EXPECT_EQ(failure_of([&] { feed(reader, span_of(fault.head)); }), unexpected) << fault.name;
    }
}

TEST(entry_table, refuses_sizes_whose_total_does_not_fit_64_bits) {
    std::vector<qv::payload_entry> entries(2);
    entries[0].size = ~std::uint64_t{0} - 20;
    entries[1].size = 10;
    EXPECT_EQ(qv::archive_length(10, entries), ~std::uint64_t{0});
    EXPECT_EQ(failure_of([&] { qv::archive_length(11, entries); }), unexpected);
}

TEST(payload_entry, the_file_name_is_the_last_component_of_the_source_path) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\Build\\out\\Varnolis.exe", L"Varnolis.exe"},
        {L"build/data\\Units.vdat", L"Units.vdat"},
        {L"Varnolis.de.dll", L"Varnolis.de.dll"},
        {L"C:Palettes.vdat", L"Palettes.vdat"},
        {L"C:\\Build\\", L""},
        {L"", L""},
    };
    for (const auto& [source, name] : cases)
        EXPECT_EQ(qv::source_file_name(source), name) << source;
}

TEST(entry_kind, names_the_six_kinds_both_ways) {
    for (std::uint32_t value = 0; value < 6; ++value) {
        const auto name = qv::entry_kind_name(value);
        ASSERT_TRUE(name) << value;
        EXPECT_EQ(qv::entry_kind_from_name(*name), static_cast<qv::entry_kind>(value));
    }
    EXPECT_EQ(qv::entry_kind_name(4), "sample");
    EXPECT_FALSE(qv::entry_kind_name(6));
    EXPECT_FALSE(qv::entry_kind_from_name("Sample"));
}

TEST(payload_resource, reads_resource_260_134_in_place) {
    const std::string payload = "BZh9 not really";
    platform::os::resource_module module;
    module.add(260, 134, 0, std::as_bytes(std::span(payload)));
    module.add(260, 135, 0, std::as_bytes(std::span(payload).first(3)));

    qv::imemstream stream = qv::open_payload_resource(module);
    EXPECT_EQ(stream.rdbuf()->contents().data(), payload.data());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stream), {}), payload);
}

TEST(payload_resource, a_missing_or_empty_resource_gives_an_empty_stream) {
    const std::string other = "other";
    platform::os::resource_module without;
    without.add(10, 134, 0, std::as_bytes(std::span(other)));
    platform::os::resource_module empty;
    empty.add(260, 134, 0, {});
    for (const auto* module : {&without, &empty}) {
        qv::imemstream stream = qv::open_payload_resource(*module);
        EXPECT_EQ(stream.get(), std::char_traits<char>::eof());
    }
}

TEST(payload_resource, is_loaded_from_the_module_used_for_resources_while_one_is_set) {
    const std::string payload = "BZh9 from the resource module";
    auto module = std::make_shared<platform::os::resource_module>();
    module->add(260, 134, 0, std::as_bytes(std::span(payload)));
    platform::os::set_resource_module(module);
    {
        qv::imemstream stream = qv::load_payload_resource();
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(stream), {}), payload);
    }
    // A module without the payload leaves it to the program, which has none in the tests.
    platform::os::set_resource_module(std::make_shared<platform::os::resource_module>());
    EXPECT_EQ(qv::load_payload_resource().get(), std::char_traits<char>::eof());
    platform::os::set_resource_module(nullptr);
    EXPECT_EQ(platform::os::current_resource_module().get(), &platform::os::own_module());
}

} // namespace
