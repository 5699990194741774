// The extraction's notifications and its answers to faults of the payload itself.

#include "payload/compress_error.h"
#include "payload/failure_code.h"
#include "payload/verify_payload.h"

#include "tests/payload/extraction_fixture.h"

#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/system/system_error.hpp>

namespace {

using namespace extraction_test;
using payload_test::archive_bytes;
using payload_test::bzip2;

class extract_payload : public extraction_fixture {};

TEST_F(extract_payload, an_empty_table_is_started_one_progress_and_finished) {
    const std::string compressed = bzip2(archive_bytes({}));
    EXPECT_TRUE(extract(compressed));
    const std::vector<std::string> expected = {"started", "progress 12/12", "finished 12"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(compressed_bytes, compressed.size());
    EXPECT_FALSE(os::path_exists(install));
}

TEST_F(extract_payload, writes_every_entry_and_tells_each_step) {
    const std::vector<test_entry> entries = {
        {L"build\\Lang\\Varnolis.de.dll", L"<InstallPath>\\Lang",
         payload_test::varied_bytes(9000, 5), 0},
        {L"empty.txt", L"<InstallPath>", "", 0},
        {L"C:\\build\\Varnolis.exe", L"<InstallPath>", "program", 1},
        {L"trailing.txt", L"<InstallPath>", "", 5},
    };
    const std::wstring targets[] = {install + L"\\Lang\\Varnolis.de.dll", install + L"\\empty.txt",
                                    install + L"\\Varnolis.exe", install + L"\\trailing.txt"};
    const std::string archive = archive_bytes(entries);
    const std::uint64_t total = archive.size();
    const std::uint64_t data_offset = total - 9000 - 7;

    EXPECT_TRUE(extract(bzip2(archive)));

    std::vector<std::string> expected_steps = {"started"};
    for (const auto& target : targets) {
        expected_steps.push_back("begin " + utf8(target));
        expected_steps.push_back("end " + utf8(target));
    }
    expected_steps.push_back("finished " + std::to_string(total));
    std::vector<std::string> steps;
    for (const auto& line : log) {
        if (!line.starts_with("progress"))
            steps.push_back(line);
    }
    EXPECT_EQ(steps, expected_steps);
    for (std::size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(content_of(targets[i]), entries[i].content) << i;

    // Progress starts at the table's end, moves at most one chunk at a time, ends at the total.
    std::uint64_t last = 0;
    const auto progress = lines_starting("progress ");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.front(),
              "progress " + std::to_string(data_offset) + "/" + std::to_string(total));
    EXPECT_EQ(progress.back(), "progress " + std::to_string(total) + "/" + std::to_string(total));
    for (const auto& line : progress) {
        const auto position = std::stoull(line.substr(9));
        EXPECT_GE(position, last);
        if (last != 0) {
            EXPECT_LE(position - last, 4096u);
        }
        last = position;
    }
}

TEST_F(extract_payload, a_chunk_holding_two_entries_is_split_between_them) {
    const std::vector<test_entry> entries = {{L"a.txt", L"<InstallPath>", std::string(100, 'a')},
                                             {L"b.txt", L"<InstallPath>", std::string(100, 'b')}};
    const std::string archive = archive_bytes(entries);
    const auto total = std::to_string(archive.size());
    const auto offset = archive.size() - 200;
    const auto a = utf8(install + L"\\a.txt");
    const auto b = utf8(install + L"\\b.txt");

    EXPECT_TRUE(extract(bzip2(archive)));
    const std::vector<std::string> expected = {
        "started",
        "progress " + std::to_string(offset) + "/" + total,
        "begin " + a,
        "progress " + std::to_string(offset + 100) + "/" + total,
        "end " + a,
        "begin " + b,
        "progress " + total + "/" + total,
        "end " + b,
        "finished " + total,
    };
    EXPECT_EQ(log, expected);
    EXPECT_EQ(content_of(install + L"\\a.txt"), std::string(100, 'a'));
    EXPECT_EQ(content_of(install + L"\\b.txt"), std::string(100, 'b'));
}

TEST_F(extract_payload, a_skipped_entry_writes_nothing_but_its_bytes_still_count) {
    const std::vector<test_entry> entries = {
        {L"a.txt", L"<InstallPath>", "first"},
        {L"b.txt", L"<InstallPath>", payload_test::varied_bytes(5000, 9)},
        {L"c.txt", L"<InstallPath>", "third"},
    };
    const auto skipped = utf8(install + L"\\b.txt");
    reply = [&](const qv::notification& message) {
        return describe(message) == "begin " + skipped ? answer::skip : answer::proceed;
    };
    EXPECT_TRUE(extract_entries(entries));
    EXPECT_FALSE(os::path_exists(install + L"\\b.txt"));
    EXPECT_EQ(content_of(install + L"\\c.txt"), "third");
    EXPECT_EQ(lines_starting("begin ").size(), 3u);
    EXPECT_EQ(lines_starting("end ").size(), 2u);
    EXPECT_TRUE(lines_starting("end " + skipped).empty());
}

TEST_F(extract_payload, cancel_fails_with_code_5_naming_the_entry_it_interrupted) {
    const std::vector<test_entry> entries = {
        {L"a.txt", L"<InstallPath>", payload_test::varied_bytes(6000, 2)},
        {L"b.txt", L"<InstallPath>", "second"},
    };
    const std::string table_progress =
        "progress " + std::to_string(archive_bytes(entries).size() - 6006) + "/";
    const auto a = utf8(install + L"\\a.txt");
    const struct {
        std::string answered;
        std::string path;
    } cases[] = {
        {table_progress, ""},
        {"begin " + a, ""},
        // The first chunk of 4096 decompressed bytes holds the table and a's first bytes.
        {"progress 4096/", a},
        {"end " + a, a},
        {"begin " + utf8(install + L"\\b.txt"), ""},
    };
    for (const auto& cancel : cases) {
        log.clear();
        reply = [&](const qv::notification& message) {
            return describe(message).starts_with(cancel.answered) ? answer::cancel
                                                                  : answer::proceed;
        };
        EXPECT_FALSE(extract_entries(entries)) << cancel.answered;
        EXPECT_EQ(log.back(), "failed compress:5 " + cancel.path) << cancel.answered;
        EXPECT_EQ(lines_starting("failed").size(), 1u);
        EXPECT_TRUE(lines_starting("finished").empty());
    }
}

TEST_F(extract_payload, cancel_after_the_table_creates_nothing) {
    reply = [](const qv::notification& message) {
        return std::holds_alternative<qv::notification::progress>(message) ? answer::cancel
                                                                           : answer::proceed;
    };
    EXPECT_FALSE(extract_entries({{L"a.txt", L"<InstallPath>", "content"}}));
    EXPECT_EQ(log.back(), "failed compress:5 ");
    EXPECT_FALSE(os::path_exists(install));
}

TEST_F(extract_payload, data_that_departs_from_the_table_fails_with_its_code) {
    std::vector<test_entry> entries = {{L"a.txt", L"<InstallPath>", "alpha"},
                                       {L"b.txt", L"<InstallPath>", "bravo"}};
    const std::string archive = archive_bytes(entries);
    std::vector<test_entry> bad_crc = entries;
    bad_crc[1].crc = 0x0BADC0DE;
    std::string bad_offset = archive;
    bad_offset[0] = 11;
    std::string past_table = payload_test::table_bytes(entries);
    past_table[8] = 3;
    const auto b = utf8(install + L"\\b.txt");

    const struct {
        const char* name;
        std::string archive;
        std::string failure;
        std::size_t files_ended;
    } cases[] = {
        {"a byte after the last entry", archive + "!", "failed compress:7 ", 2},
        {"the last byte missing", archive.substr(0, archive.size() - 1), "failed compress:7 " + b,
         1},
        {"a checksum that does not match", archive_bytes(bad_crc), "failed compress:3 " + b, 1},
        {"data_offset below the header", bad_offset, "failed compress:7 ", 0},
        {"records running past the table", past_table + "alphabravo", "failed compress:7 ", 0},
        {"the table cut short", archive.substr(0, 20), "failed compress:7 ", 0},
        {"nothing at all", "", "failed compress:7 ", 0},
    };
    for (const auto& fault : cases) {
        log.clear();
        EXPECT_FALSE(extract(bzip2(fault.archive))) << fault.name;
        EXPECT_EQ(log.back(), fault.failure) << fault.name;
        EXPECT_EQ(lines_starting("end ").size(), fault.files_ended) << fault.name;
    }
    // The mismatching file was written before it was checked; the one before it is complete.
    EXPECT_EQ(content_of(install + L"\\a.txt"), "alpha");
    EXPECT_EQ(content_of(install + L"\\b.txt"), "bravo");
}

TEST_F(extract_payload, a_truncated_stream_fails_the_check_and_the_extraction_with_code_6) {
    const std::string compressed = bzip2(archive_bytes({{L"a.txt", L"<InstallPath>", "alpha"}}));
    const std::string truncated = compressed.substr(0, compressed.size() - 4);

    qv::imemstream stream(truncated.data(), truncated.size());
    EXPECT_FALSE(qv::verify_payload(stream));
    EXPECT_FALSE(extract(truncated));
    EXPECT_EQ(log.back().substr(0, 17), "failed compress:6");
    EXPECT_TRUE(lines_starting("end ").empty());
}

TEST_F(extract_payload, verify_reads_the_whole_stream_and_accepts_only_sound_bzip2) {
    const std::string compressed = bzip2(archive_bytes({{L"a.txt", L"<InstallPath>", "alpha"}}));
    const struct {
        const char* name;
        std::string bytes;
        bool sound;
    } cases[] = {
        {"one stream", compressed, true},
        {"two streams back to back", compressed + bzip2("more"), true},
        {"empty", "", false},
        {"followed by other bytes", compressed + "trailer", false},
        {"not bzip2", "plain text, not compressed", false},
    };
    for (const auto& payload : cases) {
        qv::imemstream stream(payload.bytes.data(), payload.bytes.size());
        EXPECT_EQ(qv::verify_payload(stream), payload.sound) << payload.name;
        if (payload.sound) {
            EXPECT_TRUE(stream.good()) << payload.name;
            EXPECT_EQ(stream.tellg(), static_cast<std::streamoff>(payload.bytes.size()));
        }
    }
}

TEST_F(extract_payload, follows_a_second_bzip2_stream_after_the_first) {
    const std::string archive = archive_bytes({{L"a.txt", L"<InstallPath>", "alpha and omega"}});
    const std::size_t half = archive.size() - 8;
    EXPECT_TRUE(extract(bzip2(archive.substr(0, half)) + bzip2(archive.substr(half))));
    EXPECT_EQ(content_of(install + L"\\a.txt"), "alpha and omega");
}

TEST_F(extract_payload, a_failing_callback_ends_the_extraction_like_any_failure) {
    reply = [](const qv::notification& message) -> answer {
        if (std::holds_alternative<qv::notification::file_begin>(message))
            throw std::runtime_error("the display is gone");
        return answer::proceed;
    };
    EXPECT_FALSE(extract_entries({{L"a.txt", L"<InstallPath>", "alpha"}}));
    EXPECT_EQ(log.back(), "failed compress:7 ");

    reply = [](const qv::notification& message) -> answer {
        if (std::holds_alternative<qv::notification::file_begin>(message))
            throw 42;
        return answer::proceed;
    };
    EXPECT_THROW(extract_entries({{L"a.txt", L"<InstallPath>", "alpha"}}), int);
}

TEST(failure_code, translates_each_kind_of_failure) {
    const std::error_code access_denied = os::win32_error::access_denied;
    const struct {
        const char* name;
        std::function<void()> raise;
        std::error_code code;
    } cases[] = {
        {"decompressor",
         [] { throw boost::iostreams::bzip2_error(boost::iostreams::bzip2::data_error); },
         qv::compress_error::bzip2_error},
        {"system error", [&] { throw std::system_error(access_denied); }, access_denied},
        {"stream failure", [] { throw std::ios_base::failure("bad"); },
         std::make_error_code(std::io_errc::stream)},
        {"payload's own", [] { throw std::system_error(qv::compress_error::invalid_checksum); },
         qv::compress_error::invalid_checksum},
        {"boost generic",
         [] { throw boost::system::system_error(EACCES, boost::system::generic_category()); },
         std::error_code(EACCES, std::generic_category())},
        {"boost system",
         [] { throw boost::system::system_error(ENOENT, boost::system::system_category()); },
         os::win32_error::file_not_found},
        {"anything else", [] { throw std::bad_alloc(); }, qv::compress_error::unexpected},
    };
    for (const auto& failure : cases) {
        try {
            failure.raise();
        } catch (const std::exception& error) {
            EXPECT_EQ(qv::failure_code(error), failure.code) << failure.name;
        }
    }
}

} // namespace
