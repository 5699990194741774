#include "app/install_session.h"
#include "app/instance_counter.h"
#include "app/instance_mutex.h"

#include "platform/os/machine.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace os = platform::os;

namespace {

constexpr wchar_t application_id[] = L"Varnolis2";

int hold_until_killed() {
    for (;;)
        ::pause();
}

TEST(instance_mutex, names_carry_the_application_id) {
    EXPECT_EQ(qv::instance_mutex_name(L"Varnolis2"),
              L"Global\\Varnolis2.{5ead623c-dfcd-474d-8e3c-e6978cac039e}");
    EXPECT_EQ(qv::instance_counter_name(L"Varnolis2"),
              L"Global\\Varnolis2.{a3526b56-ca7c-4e16-8a26-da7758a378fd}");
}

TEST(instance_mutex, a_second_installer_is_refused_until_the_first_is_gone) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::pipe_pair ready;
    qv_test::background_child first([&] {
        qv::install_session session;
        session.instance_mutex.create(qv::instance_mutex_name(application_id));
        if (!session.instance_mutex.acquire())
            return 1;
        ready.signal();
        return hold_until_killed();
    });
    ready.wait();

    qv::named_mutex_guard second;
    second.create(qv::instance_mutex_name(application_id));
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.owned());

    first.kill();
    EXPECT_TRUE(second.acquire());
    EXPECT_TRUE(second.owned());
}

TEST(instance_mutex, released_on_destruction_and_free_for_the_next) {
    qv_test::temp_machine machine;
    os::machine_root();
    {
        qv::named_mutex_guard guard;
        guard.create(qv::instance_mutex_name(application_id));
        ASSERT_TRUE(guard.acquire());
        EXPECT_EQ(qv_test::run_in_child([] {
                      qv::named_mutex_guard other;
                      other.create(qv::instance_mutex_name(application_id));
                      return other.acquire() ? 1 : 0;
                  }),
                  0);
        guard.release();
        EXPECT_FALSE(guard.owned());
        EXPECT_EQ(qv_test::run_in_child([] {
                      qv::named_mutex_guard other;
                      other.create(qv::instance_mutex_name(application_id));
                      return other.acquire() ? 0 : 1;
                  }),
                  0);
    }
    qv::named_mutex_guard without_handle;
    EXPECT_FALSE(without_handle.acquire());
}

// The children are forked before this process first counts: a forked copy of a registered
// process would share its registration instead of making its own.
TEST(instance_counter, counts_itself_and_another_running_program) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::pipe_pair ready;
    qv_test::background_child product([&] {
        qv::running_instance_count(application_id);
        ready.signal();
        return hold_until_killed();
    });
    ready.wait();
    EXPECT_EQ(qv::running_instance_count(application_id), 2);
    EXPECT_EQ(qv::running_instance_count(application_id), 2);
}

TEST(instance_counter, a_program_that_ends_takes_its_registration_back) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::pipe_pair registered;
    qv_test::pipe_pair may_end;
    qv_test::background_child product([&] {
        qv::running_instance_count(application_id);
        registered.signal();
        may_end.wait();
        // exit() runs the process-end deregistration.
        std::exit(0);
        return 0;
    });
    registered.wait();
    EXPECT_EQ(qv::running_instance_count(application_id), 2);
    may_end.signal();
    EXPECT_EQ(product.join(), 0);
    EXPECT_EQ(qv::running_instance_count(application_id), 1);
}

TEST(instance_counter, starts_afresh_after_a_killed_program_once_nobody_holds_it) {
    qv_test::temp_machine machine;
    os::machine_root();
    qv_test::pipe_pair ready;
    {
        qv_test::background_child product([&] {
            qv::running_instance_count(application_id);
            ready.signal();
            return hold_until_killed();
        });
        ready.wait();
        EXPECT_EQ(qv_test::run_in_child(
                      [] { return qv::running_instance_count(application_id) == 2 ? 0 : 1; }),
                  0);
        product.kill();
    }
    EXPECT_EQ(qv::running_instance_count(application_id), 1);
}

} // namespace
