#include "platform/os/file_faults.h"
#include "platform/os/file_stream.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/temp_machine.h"

#include <gtest/gtest.h>
#include <istream>
#include <ostream>
#include <sstream>

namespace os = platform::os;
using files_test::code;
using os::win32_error;

namespace {

constexpr auto read_write = os::file_access::generic_read | os::file_access::generic_write;

class files_stream : public testing::Test {
protected:
    files_stream() { os::machine_root(); }

    os::file_handle open(std::uint32_t access, os::creation how) const {
        auto opened = os::create_file(file, access, os::file_share::none, how);
        EXPECT_TRUE(opened) << opened.error().message();
        return opened ? std::move(*opened) : os::file_handle();
    }

    qv_test::temp_machine machine;
    const std::wstring file = L"C:\\ProgramData\\stream.txt";
    const std::filesystem::path host = machine.drive_c("ProgramData/stream.txt");
};

TEST_F(files_stream, writes_and_reads_through_a_small_buffer) {
    std::string expected;
    {
        // A buffer smaller than a line makes every path of the buffering run.
        os::file_streambuf buffer(open(os::file_access::generic_write, os::creation::create_new),
                                  7);
        std::ostream out(&buffer);
        for (int line = 0; line < 200; ++line) {
            out << "line " << line << '\n';
            expected += "line " + std::to_string(line) + '\n';
        }
        EXPECT_TRUE(out.flush());
        EXPECT_FALSE(buffer.close());
    }
    EXPECT_EQ(qv_test::read_host_file(host), expected);

    os::file_streambuf buffer(open(os::file_access::generic_read, os::creation::open_existing), 5);
    std::istream in(&buffer);
    std::ostringstream read_back;
    read_back << in.rdbuf();
    EXPECT_EQ(read_back.str(), expected);
    EXPECT_FALSE(buffer.last_error());
}

TEST_F(files_stream, seeks_and_mixes_reading_with_writing) {
    qv_test::write_host_file(host, "0123456789abcdef");
    {
        os::file_streambuf buffer(open(read_write, os::creation::open_existing), 4);
        std::iostream stream(&buffer);
        stream.seekg(10);
        char two[3] = {};
        stream.read(two, 2);
        EXPECT_EQ(std::string(two), "ab");
        EXPECT_EQ(stream.tellg(), 12);
        // Writing goes where reading stopped, not where the read-ahead ended.
        stream << "XY";
        stream.seekg(-4, std::ios_base::end);
        char four[5] = {};
        stream.read(four, 4);
        EXPECT_EQ(std::string(four), "XYef");
        stream.seekp(0);
        stream << "==";
    }
    EXPECT_EQ(qv_test::read_host_file(host), "==23456789abXYef");
}

TEST_F(files_stream, keeps_the_windows_code_of_the_first_failure) {
    qv_test::write_host_file(host, "read only by this handle");
    {
        os::file_streambuf buffer(open(os::file_access::generic_read, os::creation::open_existing));
        std::ostream out(&buffer);
        out << "refused" << std::flush;
        EXPECT_TRUE(out.bad());
        EXPECT_EQ(buffer.last_error(), code(win32_error::access_denied));
    }
    auto full = os::create_file(L"Z:\\dev\\full", os::file_access::generic_write,
                                os::file_share::all, os::creation::open_existing);
    ASSERT_TRUE(full);
    os::file_streambuf buffer(std::move(*full));
    std::ostream out(&buffer);
    out << "no room" << std::flush;
    EXPECT_TRUE(out.bad());
    EXPECT_EQ(buffer.last_error(), code(win32_error::disk_full));
    EXPECT_EQ(buffer.close(), code(win32_error::disk_full));
}

TEST_F(files_stream, every_buffer_fill_is_a_file_operation) {
    qv_test::write_host_file(host, std::string(100, 'x'));
    os::file_streambuf buffer(open(os::file_access::generic_read, os::creation::open_existing), 10);
    std::istream in(&buffer);
    // The third read of the handle fails: two buffers come through, then the error.
    os::fail_file_operation(3, static_cast<std::uint32_t>(win32_error::read_fault));
    std::string got;
    for (char c; in.get(c);)
        got += c;
    EXPECT_EQ(got, std::string(20, 'x'));
    EXPECT_EQ(buffer.last_error(), code(win32_error::read_fault));
}

} // namespace
