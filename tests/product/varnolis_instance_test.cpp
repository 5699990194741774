#include "platform/os/processes.h"

#include "tests/product/varnolis_program.h"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>

namespace os = platform::os;

namespace {

// Without a display the program has no window: it runs until a signal ends it.
class varnolis_running : public testing::Test {
protected:
    void SetUp() override {
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
    }

    qv_test::temp_machine machine;
};

struct ending {
    const char* name;
    int signal;
    std::uint32_t exit_code;
};

// A running product holds the second registration the installer counts beside its own; once it
// has ended, however it ended, and nothing else holds the counter, the installer counts only
// itself again. Termination signals end it through its normal exit (code 0, not a signal's).
TEST_F(varnolis_running, is_counted_until_it_ends) {
    const ending endings[] = {
        {"SIGTERM", SIGTERM, 0},
        {"SIGINT", SIGINT, 0},
        // A forced end, as when the task is killed: the exit handlers never run.
        {"SIGKILL", SIGKILL, 1},
    };
    const std::wstring program = varnolis_test::program_on_z_drive();
    for (const ending& end : endings) {
        SCOPED_TRACE(end.name);
        auto product = os::start_process(L"\"" + program + L"\"", L"");
        ASSERT_TRUE(product) << product.error().message();
        ASSERT_TRUE(varnolis_test::wait_for_instance_count(2));
        EXPECT_EQ(product->exit_code().value(), os::still_active);

        ASSERT_EQ(::kill(static_cast<pid_t>(product->id()), end.signal), 0);
        ASSERT_EQ(product->wait(os::infinite_timeout).value(), os::wait_status::object_0);
        EXPECT_EQ(product->exit_code().value(), end.exit_code);
        EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 1);
    }
}

// The installer, which holds its own registration while it asks the user to close the product.
class counting_installer {
public:
    counting_installer()
        : process_([this] {
              qv::running_instance_count(varnolis_test::application_id);
              registered_.signal();
              may_end_.wait();
              std::exit(0);
              return 0;
          }) {
        registered_.wait();
    }
    int end() {
        may_end_.signal();
        return process_.join();
    }

private:
    qv_test::pipe_pair registered_;
    qv_test::pipe_pair may_end_;
    qv_test::background_child process_;
};

TEST_F(varnolis_running, an_ending_product_takes_its_registration_back_at_once) {
    counting_installer installer;
    auto product = os::start_process(L"\"" + varnolis_test::program_on_z_drive() + L"\"", L"");
    ASSERT_TRUE(product);
    ASSERT_TRUE(varnolis_test::wait_for_instance_count(3));

    ::kill(static_cast<pid_t>(product->id()), SIGTERM);
    product->wait(os::infinite_timeout).value();
    EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 2);
    EXPECT_EQ(installer.end(), 0);
}

// A killed product cannot take its unit back: like a Windows semaphore, the counter keeps it
// while another program holds the counter open, and starts afresh once nobody does.
TEST_F(varnolis_running, a_killed_product_stays_counted_until_the_counter_is_closed) {
    counting_installer installer;
    auto product = os::start_process(L"\"" + varnolis_test::program_on_z_drive() + L"\"", L"");
    ASSERT_TRUE(product);
    ASSERT_TRUE(varnolis_test::wait_for_instance_count(3));

    ::kill(static_cast<pid_t>(product->id()), SIGKILL);
    product->wait(os::infinite_timeout).value();
    EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 3);
    EXPECT_EQ(installer.end(), 0);
    EXPECT_EQ(varnolis_test::instance_count_seen_by_another_process(), 1);
}

} // namespace
