#include "platform/os/file_moves.h"
#include "platform/os/files.h"
#include "platform/os/machine.h"

#include "tests/platform/os/files_test_support.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <unistd.h>

namespace os = platform::os;
using files_test::code;
using os::win32_error;

using qv_test::pipe_pair;

namespace {

constexpr auto read_access = os::file_access::generic_read;
constexpr auto write_access = os::file_access::generic_write;
constexpr auto delete_access = os::file_access::delete_access;

// Another process that holds the file open (as open_in_child opened it) until released.
class holder_process {
public:
    explicit holder_process(std::function<os::result<os::file_handle>()> open_in_child)
        : child_([this, open_in_child] {
              release_.close_writing();
              auto held = open_in_child();
              if (!held)
                  return 1;
              ready_.signal();
              release_.wait();
              return 0;
          }) {
        ready_.close_writing();
        release_.close_reading();
        opened_ = ready_.wait();
    }

    bool opened() const { return opened_; }

    int release() {
        release_.close_writing();
        return child_.join();
    }

private:
    pipe_pair ready_;
    pipe_pair release_;
    bool opened_ = false;
    qv_test::background_child child_;
};

class files_sharing : public testing::Test {
protected:
    files_sharing() {
        os::machine_root();
        qv_test::write_host_file(host, "shared");
    }
    os::result<os::file_handle> open(std::uint32_t access, std::uint32_t share) const {
        return os::create_file(file, access, share, os::creation::open_existing);
    }

    qv_test::temp_machine machine;
    const std::wstring file = L"C:\\ProgramData\\shared.txt";
    const std::filesystem::path host = machine.drive_c("ProgramData/shared.txt");
};

struct sharing_case {
    std::uint32_t first_access, first_share;
    std::uint32_t second_access, second_share;
    bool conflicts;
};

TEST_F(files_sharing, a_second_open_conflicts_as_on_windows) {
    namespace share = os::file_share;
    const sharing_case cases[] = {
        {read_access, share::read, read_access, share::read, false},
        {read_access, share::read, write_access, share::all, true},
        {write_access, share::read, read_access, share::read, true},
        {write_access, share::read, read_access, share::read | share::write, false},
        {read_access | write_access, share::read | share::write, read_access | write_access,
         share::read | share::write, false},
        {read_access, share::none, read_access, share::all, true},
        {read_access, share::all, read_access, share::none, true},
        {read_access, share::read, delete_access, share::all, true},
        {read_access, share::read | share::delete_access, delete_access, share::all, false},
        // An open without read, write or delete access takes no part in sharing.
        {os::file_access::none, share::none, read_access | write_access, share::none, false},
        {read_access | write_access, share::none, os::file_access::none, share::none, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << "first " << c.first_access << "/" << c.first_share
                     << ", second " << c.second_access << "/" << c.second_share);
        auto first = open(c.first_access, c.first_share);
        ASSERT_TRUE(first);
        auto second = open(c.second_access, c.second_share);
        EXPECT_EQ(second.error(),
                  code(c.conflicts ? win32_error::sharing_violation : win32_error::success));
    }
}

TEST_F(files_sharing, closing_a_handle_gives_its_sharing_back) {
    auto first = open(read_access, os::file_share::none);
    ASSERT_TRUE(first);
    EXPECT_EQ(open(read_access, os::file_share::all).error(), code(win32_error::sharing_violation));
    ASSERT_FALSE(first->close());
    EXPECT_TRUE(open(read_access, os::file_share::all));
}

TEST_F(files_sharing, a_file_made_without_sharing_is_not_open_to_others) {
    const std::wstring fresh = L"C:\\ProgramData\\fresh.txt";
    auto made =
        os::create_file(fresh, write_access, os::file_share::none, os::creation::create_new);
    ASSERT_TRUE(made);
    EXPECT_EQ(os::create_file(fresh, read_access, os::file_share::all, os::creation::open_existing)
                  .error(),
              code(win32_error::sharing_violation));
}

TEST_F(files_sharing, another_process_holding_the_file_blocks_opens_deletes_and_moves) {
    holder_process holder([this] { return open(read_access, os::file_share::read); });
    ASSERT_TRUE(holder.opened());
    EXPECT_TRUE(open(read_access, os::file_share::read));
    EXPECT_EQ(open(read_access | write_access, os::file_share::all).error(),
              code(win32_error::sharing_violation));
    EXPECT_EQ(os::delete_file(file), code(win32_error::sharing_violation));
    EXPECT_EQ(os::move_file(file, L"C:\\ProgramData\\moved.txt"),
              code(win32_error::sharing_violation));
    EXPECT_TRUE(std::filesystem::exists(host));
    EXPECT_EQ(holder.release(), 0);
    EXPECT_TRUE(open(read_access | write_access, os::file_share::none));
    EXPECT_FALSE(os::delete_file(file));
}

TEST_F(files_sharing, an_open_that_shares_delete_lets_others_delete_and_move) {
    holder_process holder(
        [this] { return open(read_access, os::file_share::read | os::file_share::delete_access); });
    ASSERT_TRUE(holder.opened());
    EXPECT_FALSE(os::move_file(file, L"C:\\ProgramData\\moved.txt"));
    EXPECT_FALSE(os::delete_file(L"C:\\ProgramData\\moved.txt"));
    EXPECT_EQ(holder.release(), 0);
}

TEST_F(files_sharing, a_process_that_dies_gives_its_sharing_back) {
    EXPECT_EQ(qv_test::run_in_child([this] {
                  auto held = open(read_access, os::file_share::none);
                  // Leaves without closing anything.
                  ::_exit(held ? 0 : 1);
                  return 2;
              }),
              0);
    EXPECT_TRUE(open(read_access | write_access, os::file_share::none));
}

TEST_F(files_sharing, processes_of_other_users_see_the_same_sharing) {
    ASSERT_EQ(::geteuid(), 0u);
    // The unprivileged user may read the file, so only sharing can stop it.
    auto held = open(read_access, os::file_share::none);
    ASSERT_TRUE(held);
    const int outcome = qv_test::run_in_child(
        [this] {
            return static_cast<int>(os::message_id(open(read_access, os::file_share::all).error()));
        },
        qv_test::unprivileged_user());
    EXPECT_EQ(outcome, 32);
}

TEST_F(files_sharing, copies_respect_the_source_and_the_destination_opens) {
    const std::wstring copy = L"C:\\ProgramData\\copy.txt";
    files_test::put_file(copy, "old copy");
    {
        holder_process writer([this] { return open(write_access, os::file_share::all); });
        ASSERT_TRUE(writer.opened());
        EXPECT_EQ(os::copy_file(file, copy, os::overwrite::allow),
                  code(win32_error::sharing_violation));
        EXPECT_EQ(writer.release(), 0);
    }
    {
        holder_process reader([copy] {
            return os::create_file(copy, read_access, os::file_share::read,
                                   os::creation::open_existing);
        });
        ASSERT_TRUE(reader.opened());
        EXPECT_EQ(os::copy_file(file, copy, os::overwrite::allow),
                  code(win32_error::sharing_violation));
        EXPECT_EQ(reader.release(), 0);
    }
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("ProgramData/copy.txt")), "old copy");
    EXPECT_FALSE(os::copy_file(file, copy, os::overwrite::allow));
    EXPECT_EQ(qv_test::read_host_file(machine.drive_c("ProgramData/copy.txt")), "shared");
}

} // namespace
