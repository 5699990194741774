#include "support/memstream.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

using std::ios_base;
constexpr auto eof = std::char_traits<char>::eof();

std::string text_of(std::span<const char> contents) {
    return {contents.begin(), contents.end()};
}

std::string read_all(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(imemstream, an_empty_stream_ends_at_the_first_read) {
    const char byte = 'x';
    qv::imemstream without_memory;
    qv::imemstream over_nothing(&byte, 0);
    for (qv::imemstream* stream : {&without_memory, &over_nothing}) {
        EXPECT_EQ(stream->get(), eof);
        EXPECT_TRUE(stream->eof());
        EXPECT_TRUE(stream->rdbuf()->contents().empty());
    }
}

TEST(imemstream, reads_the_callers_memory_in_place_and_keeps_it_when_moved) {
    const std::string bytes = "payload bytes";
    qv::imemstream first(bytes.data(), bytes.size());
    EXPECT_EQ(first.rdbuf()->contents().data(), bytes.data());
    char head[4] = {};
    first.read(head, 3);

    qv::imemstream moved(std::move(first));
    EXPECT_EQ(moved.rdbuf()->contents().data(), bytes.data());
    EXPECT_EQ(read_all(moved), "load bytes");
    EXPECT_EQ(first.get(), eof);
}

TEST(imemstream, never_writes_even_when_asked_for_out_and_app) {
    std::string bytes = "abc";
    qv::imemstream stream(bytes.data(), bytes.size(), ios_base::in | ios_base::out | ios_base::app);
    qv::membuf& buffer = *stream.rdbuf();
    EXPECT_EQ(buffer.sputc('z'), eof);
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::beg, ios_base::out), -1);
    std::ostream writer(&buffer);
    writer << "xyz" << std::flush;
    EXPECT_TRUE(writer.bad());
    EXPECT_EQ(bytes, "abc");
    EXPECT_EQ(read_all(stream), "abc");
}

TEST(imemstream, seeking_back_to_the_start_after_the_end_reads_again) {
    const std::string bytes = "0123456789";
    qv::imemstream stream(bytes.data(), bytes.size());
    EXPECT_EQ(read_all(stream), bytes);
    EXPECT_EQ(stream.get(), eof);
    EXPECT_TRUE(stream.eof());
    stream.clear();
    EXPECT_TRUE(stream.seekg(0));
    EXPECT_EQ(read_all(stream), bytes);

    stream.clear();
    EXPECT_EQ(stream.rdbuf()->pubseekoff(-3, ios_base::end, ios_base::in), 7);
    EXPECT_EQ(stream.get(), '7');
    EXPECT_EQ(stream.rdbuf()->pubseekoff(1, ios_base::cur, ios_base::in), 9);
    EXPECT_EQ(stream.rdbuf()->pubseekoff(1, ios_base::end, ios_base::in), -1);
    EXPECT_EQ(stream.rdbuf()->pubseekoff(-1, ios_base::beg, ios_base::in), -1);
    EXPECT_EQ(stream.get(), '9') << "a failed seek leaves the position alone";
}

TEST(imemstream, ate_starts_at_the_end_and_trunc_leaves_nothing_to_read) {
    const std::string bytes = "abc";
    qv::imemstream at_end(bytes.data(), bytes.size(), ios_base::in | ios_base::ate);
    EXPECT_EQ(at_end.tellg(), 3);
    EXPECT_EQ(at_end.get(), eof);
    at_end.clear();
    at_end.seekg(0);
    EXPECT_EQ(read_all(at_end), "abc");

    qv::imemstream truncated(bytes.data(), bytes.size(), ios_base::in | ios_base::trunc);
    EXPECT_EQ(truncated.get(), eof);
    EXPECT_TRUE(truncated.rdbuf()->contents().empty());
}

TEST(imemstream, puts_back_only_the_byte_that_was_read) {
    std::string bytes = "ab";
    qv::imemstream stream(bytes.data(), bytes.size());
    qv::membuf& buffer = *stream.rdbuf();
    EXPECT_EQ(buffer.sputbackc('a'), eof) << "nothing before the start";
    EXPECT_EQ(buffer.sbumpc(), 'a');
    EXPECT_EQ(buffer.sputbackc('x'), eof);
    EXPECT_EQ(buffer.sputbackc('a'), 'a');
    EXPECT_EQ(buffer.sbumpc(), 'a');
    EXPECT_EQ(buffer.sbumpc(), 'b');
    EXPECT_EQ(buffer.sungetc(), 'b');
    EXPECT_EQ(bytes, "ab");
}

TEST(memstream, collects_a_table_written_in_two_parts) {
    qv::memstream stream;
    std::string header(8, '\0');
    header[0] = 0x02;
    header[1] = 0x16;
    std::string table(5626, '\0');
    for (std::size_t i = 0; i < table.size(); ++i)
        table[i] = static_cast<char>(i * 7);
    stream.write(header.data(), static_cast<std::streamsize>(header.size()));
    stream.write(table.data(), static_cast<std::streamsize>(table.size()));
    ASSERT_TRUE(stream);

    EXPECT_EQ(stream.rdbuf()->contents().size(), 5634u);
    EXPECT_EQ(read_all(stream), header + table);
}

TEST(memstream, grows_by_256_bytes_up_to_512_then_by_half) {
    qv::membuf buffer;
    std::vector<std::size_t> moved_at;
    const char* storage = nullptr;
    for (std::size_t i = 0; i < 5634; ++i) {
        ASSERT_EQ(buffer.sputc(static_cast<char>(i)), static_cast<unsigned char>(i));
        if (buffer.contents().data() != storage) {
            moved_at.push_back(i);
            storage = buffer.contents().data();
        }
    }
    // A byte that does not fit moves the contents into storage grown from the size before.
    const std::vector<std::size_t> sizes_before = {0, 256, 512, 768, 1152, 1728, 2592, 3888};
    EXPECT_EQ(moved_at, sizes_before);
    EXPECT_EQ(buffer.contents().size(), 5634u);
}

TEST(memstream, the_high_water_mark_follows_writes_and_bounds_seeks) {
    qv::memstream stream;
    stream << "0123456789";
    EXPECT_EQ(stream.tellp(), 10);
    stream.seekp(2);
    stream << "ab";
    EXPECT_EQ(text_of(stream.rdbuf()->contents()), "01ab456789");
    EXPECT_EQ(stream.tellp(), 4);
    EXPECT_EQ(stream.tellg(), 0);

    qv::membuf& buffer = *stream.rdbuf();
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::end, ios_base::out), 10);
    EXPECT_EQ(buffer.pubseekoff(1, ios_base::end, ios_base::out), -1);
    EXPECT_EQ(buffer.pubseekoff(-11, ios_base::cur, ios_base::out), -1);
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::cur, ios_base::in | ios_base::out), -1);
    EXPECT_EQ(buffer.pubseekoff(3, ios_base::beg, ios_base::in | ios_base::out), 3);
    EXPECT_EQ(stream.tellp(), 3);
    EXPECT_EQ(stream.tellg(), 3);

    stream.seekp(0, ios_base::end);
    stream << "!";
    EXPECT_EQ(read_all(stream), "b456789!") << "reading sees what was written after it began";
}

TEST(memstream, append_mode_writes_only_at_the_end) {
    qv::memstream stream(ios_base::in | ios_base::out | ios_base::app);
    stream << "abc";
    qv::membuf& buffer = *stream.rdbuf();
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::beg, ios_base::out), -1);
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::beg, ios_base::in | ios_base::out), -1);
    EXPECT_EQ(buffer.pubseekoff(0, ios_base::end, ios_base::out), 3);
    EXPECT_EQ(buffer.pubseekoff(1, ios_base::beg, ios_base::in), 1);
    stream << "de";
    EXPECT_EQ(read_all(stream), "bcde");
}

TEST(memstream, puts_back_a_different_byte_into_its_own_storage) {
    qv::memstream stream;
    stream << "ab";
    qv::membuf& buffer = *stream.rdbuf();
    EXPECT_EQ(buffer.sbumpc(), 'a');
    EXPECT_EQ(buffer.sputbackc('x'), 'x');
    EXPECT_EQ(text_of(buffer.contents()), "xb");
}

TEST(memstream, without_out_nothing_is_written) {
    qv::memstream stream(ios_base::in | ios_base::app);
    stream << "abc" << std::flush;
    EXPECT_TRUE(stream.bad());
    EXPECT_TRUE(stream.rdbuf()->contents().empty());
}

} // namespace
