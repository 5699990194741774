#include "platform/os/kernel_objects.h"

#include "platform/os/error.h"
#include "platform/os/machine.h"
#include "platform/os/unicode.h"

#include "tests/support/child_process.h"
#include "tests/support/temp_machine.h"

#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <pwd.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
namespace os = platform::os;
using os::object_origin;
using os::wait_status;
using os::win32_error;

using qv_test::pipe_pair;

namespace {

std::error_code code(win32_error error) {
    return os::make_error_code(error);
}

// Another process that runs setup (taking objects it keeps in variables of its own copy of the
// test), reports whether it succeeded, then holds on until it is let go to run finish, or is
// killed.
class partner_process {
public:
    explicit partner_process(
        std::function<bool()> setup, std::function<int()> finish = [] { return 0; }) {
        child_ = std::make_unique<qv_test::background_child>([this, setup, finish] {
            ready_.close_reading();
            go_.close_writing();
            if (!setup())
                return 1;
            ready_.signal();
            go_.wait();
            return finish();
        });
        ready_.close_writing();
        go_.close_reading();
        ready_result_ = ready_.wait();
    }

    bool ready() const { return ready_result_; }

    int finish() {
        go_.close_writing();
        const int code = child_->join();
        child_.reset();
        return code;
    }

    // SIGKILL, then reaped.
    void kill() { child_.reset(); }

private:
    pipe_pair ready_;
    pipe_pair go_;
    bool ready_result_ = false;
    std::unique_ptr<qv_test::background_child> child_;
};

// Makes the calling (child) process another user for good.
bool become(uid_t user) {
    const passwd* entry = ::getpwuid(user);
    const gid_t group = entry ? entry->pw_gid : static_cast<gid_t>(user);
    return ::setgroups(0, nullptr) == 0 && ::setresgid(group, group, group) == 0 &&
           ::setresuid(user, user, user) == 0;
}

class kernel_objects : public testing::Test {
protected:
    os::kernel_object mutex(std::wstring_view name, os::mutex_ownership ownership,
                            object_origin expected) {
        auto opened = os::create_mutex(name, ownership);
        if (!opened)
            throw std::system_error(opened.error());
        EXPECT_EQ(opened->origin, expected);
        return std::move(opened->handle);
    }
    os::kernel_object semaphore(std::wstring_view name, std::int32_t initial, std::int32_t maximum,
                                object_origin expected) {
        auto opened = os::create_semaphore(name, initial, maximum);
        if (!opened)
            throw std::system_error(opened.error());
        EXPECT_EQ(opened->origin, expected);
        return std::move(opened->handle);
    }

    qv_test::temp_machine machine;
};

constexpr auto not_owned = os::mutex_ownership::not_owned;
constexpr auto initially_owned = os::mutex_ownership::initially_owned;

TEST_F(kernel_objects, a_mutex_owned_by_another_process_is_refused_until_it_is_released) {
    const std::wstring name = L"Global\\{setup-running}";
    std::optional<os::opened_object> held;
    partner_process owner(
        [&] {
            auto opened = os::create_mutex(name, initially_owned);
            if (!opened || opened->origin != object_origin::created)
                return false;
            held.emplace(std::move(*opened));
            return true;
        },
        [&] { return os::release_mutex(held->handle) ? 2 : 0; });
    ASSERT_TRUE(owner.ready());

    auto handle = mutex(name, initially_owned, object_origin::opened_existing);
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::timeout);
    EXPECT_EQ(os::wait(handle, 30).value(), wait_status::timeout);
    EXPECT_EQ(os::release_mutex(handle), code(win32_error::not_owner));

    ASSERT_EQ(owner.finish(), 0);
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::object_0);
}

TEST_F(kernel_objects, a_mutex_whose_owner_was_killed_is_acquired_as_abandoned) {
    const std::wstring name = L"Global\\held";
    auto handle = mutex(name, not_owned, object_origin::created);
    std::optional<os::kernel_object> held;
    partner_process owner([&] {
        auto opened = os::create_mutex(name, not_owned);
        if (!opened || os::wait(opened->handle, 0).value() != wait_status::object_0)
            return false;
        held.emplace(std::move(opened->handle));
        return true;
    });
    ASSERT_TRUE(owner.ready());
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::timeout);

    owner.kill();
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::abandoned);
    // Acquired: owned as after any other wait.
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::object_0);
    EXPECT_FALSE(os::release_mutex(handle));
    EXPECT_FALSE(os::release_mutex(handle));
    EXPECT_EQ(os::release_mutex(handle), code(win32_error::not_owner));
    EXPECT_EQ(
        qv_test::run_in_child([&] { return os::wait(handle, 0).value() == wait_status::object_0; }),
        1);
}

TEST_F(kernel_objects, ownership_is_recursive_for_the_owning_thread_only) {
    auto first = mutex(L"Global\\recursive", initially_owned, object_origin::created);
    auto second = mutex(L"Global\\recursive", initially_owned, object_origin::opened_existing);
    // Both handles name the one object this thread owns.
    EXPECT_EQ(os::wait(second, 0).value(), wait_status::object_0);
    EXPECT_EQ(os::wait(first, 0).value(), wait_status::object_0);

    std::thread([&] {
        EXPECT_EQ(os::wait(first, 0).value(), wait_status::timeout);
        EXPECT_EQ(os::release_mutex(first), code(win32_error::not_owner));
    }).join();

    for (int level = 0; level < 3; ++level)
        EXPECT_FALSE(os::release_mutex(level % 2 ? first : second)) << level;
    EXPECT_EQ(os::release_mutex(first), code(win32_error::not_owner));

    std::thread([&] {
        EXPECT_EQ(os::wait(first, 0).value(), wait_status::object_0);
        EXPECT_FALSE(os::release_mutex(second));
    }).join();
}

TEST_F(kernel_objects, a_thread_that_ends_owning_the_mutex_abandons_it) {
    auto handle = mutex(L"Global\\thread", not_owned, object_origin::created);
    std::thread([&] { EXPECT_EQ(os::wait(handle, 0).value(), wait_status::object_0); }).join();
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::abandoned);
    EXPECT_FALSE(os::release_mutex(handle));
}

TEST_F(kernel_objects, closing_the_last_handle_of_the_owning_process_abandons_the_mutex) {
    const std::wstring name = L"Global\\closed";
    auto handle = mutex(name, not_owned, object_origin::created);
    // The child's own handle is closed before it ends, without releasing.
    EXPECT_EQ(qv_test::run_in_child([&] {
                  auto opened = os::create_mutex(name, not_owned);
                  if (!opened || os::wait(opened->handle, 0).value() != wait_status::object_0)
                      return 1;
                  opened->handle.close();
                  return os::wait(handle, 0).value() == wait_status::abandoned ? 0 : 2;
              }),
              0);
}

TEST_F(kernel_objects, semaphore_units_are_shared_between_processes_up_to_the_maximum) {
    const std::wstring name = L"Global\\units";
    auto handle = semaphore(name, 2, 3, object_origin::created);
    EXPECT_EQ(qv_test::run_in_child([&] {
                  auto opened = os::create_semaphore(name, 0, 1);
                  if (!opened || opened->origin != object_origin::opened_existing)
                      return 1;
                  const bool took_both =
                      os::wait(opened->handle, 0).value() == wait_status::object_0 &&
                      os::wait(opened->handle, 0).value() == wait_status::object_0;
                  if (!took_both)
                      return 2;
                  return os::wait(opened->handle, 0).value() == wait_status::timeout ? 0 : 3;
              }),
              0);

    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::timeout);
    EXPECT_EQ(os::release_semaphore(handle, 1).value(), 0);
    EXPECT_EQ(os::release_semaphore(handle, 3).error(), code(win32_error::too_many_posts));
    EXPECT_EQ(os::release_semaphore(handle, 2).value(), 1);
    EXPECT_EQ(os::release_semaphore(handle, 1).error(), code(win32_error::too_many_posts));
    for (int unit = 0; unit < 3; ++unit)
        EXPECT_EQ(os::wait(handle, 0).value(), wait_status::object_0) << unit;
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::timeout);
}

TEST_F(kernel_objects, a_waiter_gets_the_unit_another_process_releases) {
    const std::wstring name = L"Global\\later";
    auto handle = semaphore(name, 0, 1, object_origin::created);
    std::optional<os::kernel_object> held;
    partner_process releaser(
        [&] {
            auto opened = os::create_semaphore(name, 0, 1);
            if (!opened)
                return false;
            held.emplace(std::move(opened->handle));
            return true;
        },
        [&] {
            auto previous = os::release_semaphore(*held, 1);
            return previous ? *previous : 9;
        });
    ASSERT_TRUE(releaser.ready());
    ASSERT_EQ(releaser.finish(), 0);
    EXPECT_EQ(os::wait(handle, os::infinite_timeout).value(), wait_status::object_0);
}

TEST_F(kernel_objects, a_semaphore_starts_afresh_only_once_every_handle_has_closed) {
    struct case_ {
        bool parent_holds_a_handle;
        object_origin reopened;
        std::int32_t count_after_the_kill;
    };
    const case_ cases[] = {
        {false, object_origin::created, 1},
        {true, object_origin::opened_existing, 4},
    };
    int index = 0;
    for (const case_& c : cases) {
        const std::wstring name = L"Global\\count" + std::to_wstring(index++);
        std::optional<os::kernel_object> parent;
        if (c.parent_holds_a_handle)
            parent.emplace(semaphore(name, 1, 5, object_origin::created));
        std::optional<os::kernel_object> held;
        partner_process releaser([&] {
            auto opened = os::create_semaphore(name, 1, 5);
            if (!opened || !os::release_semaphore(opened->handle, 3))
                return false;
            held.emplace(std::move(opened->handle));
            return true;
        });
        ASSERT_TRUE(releaser.ready());
        releaser.kill();

        auto handle = semaphore(name, 1, 5, c.reopened);
        EXPECT_EQ(os::release_semaphore(handle, 1).value(), c.count_after_the_kill)
            << c.parent_holds_a_handle;
    }
}

TEST_F(kernel_objects, a_mutex_starts_free_once_its_killed_owner_was_its_last_user) {
    const std::wstring name = L"Global\\restart";
    std::optional<os::opened_object> held;
    partner_process owner([&] {
        auto opened = os::create_mutex(name, initially_owned);
        if (!opened)
            return false;
        held.emplace(std::move(*opened));
        return true;
    });
    ASSERT_TRUE(owner.ready());
    owner.kill();
    auto handle = mutex(name, not_owned, object_origin::created);
    EXPECT_EQ(os::wait(handle, 0).value(), wait_status::object_0);
}

TEST_F(kernel_objects, another_user_shares_the_objects_whoever_created_them) {
    // The files must be open to every user whatever the creator's umask.
    os::machine_root();
    const mode_t previous = ::umask(077);
    auto root_mutex = mutex(L"Global\\root-mutex", not_owned, object_origin::created);
    auto root_units = semaphore(L"Global\\root-units", 1, 2, object_origin::created);
    ::umask(previous);
    EXPECT_EQ(fs::status(machine.root() / ".kernel" / "root-mutex").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);

    std::optional<os::opened_object> users;
    partner_process user([&] {
        if (!become(qv_test::unprivileged_user()))
            return false;
        ::umask(077);
        auto mutex = os::create_mutex(L"Global\\root-mutex", not_owned);
        auto units = os::create_semaphore(L"Global\\root-units", 0, 1);
        auto own = os::create_mutex(L"Global\\user-mutex", initially_owned);
        if (!mutex || mutex->origin != object_origin::opened_existing || !units ||
            units->origin != object_origin::opened_existing || !own)
            return false;
        const bool acquired = os::wait(mutex->handle, 0).value() == wait_status::object_0 &&
                              !os::release_mutex(mutex->handle) &&
                              os::wait(units->handle, 0).value() == wait_status::object_0;
        users.emplace(std::move(*own));
        return acquired;
    });
    ASSERT_TRUE(user.ready());
    EXPECT_EQ(os::wait(root_units, 0).value(), wait_status::timeout);

    // The user's object in the sticky folder, opened by root.
    auto user_mutex = mutex(L"Global\\user-mutex", not_owned, object_origin::opened_existing);
    EXPECT_EQ(os::wait(user_mutex, 0).value(), wait_status::timeout);
    user.kill();
    EXPECT_EQ(os::wait(user_mutex, 0).value(), wait_status::abandoned);
}

TEST_F(kernel_objects, names_share_an_object_only_when_windows_would) {
    struct case_ {
        const wchar_t* first;
        const wchar_t* second;
        object_origin second_origin;
    };
    const case_ cases[] = {
        {L"Global\\same", L"Local\\same", object_origin::opened_existing},
        {L"Global\\bare", L"bare", object_origin::opened_existing},
        {L"Global\\Case", L"Global\\case", object_origin::created},
        {L"Global\\%41", L"Global\\A", object_origin::created},
        {L"Global\\a/b", L"Global\\a%2Fb", object_origin::created},
        {L"Global\\..", L"Global\\%2E%2E", object_origin::created},
        {L"Global\\größe", L"Global\\gr%C3%B6%C3%9Fe", object_origin::created},
    };
    std::vector<os::kernel_object> handles;
    for (const case_& c : cases) {
        SCOPED_TRACE(testing::Message() << os::to_utf8(c.first));
        handles.push_back(semaphore(c.first, 1, 1, object_origin::created));
        handles.push_back(semaphore(c.second, 1, 1, c.second_origin));
    }
    // Every object is a file directly in the kernel folder, whatever its name holds.
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(machine.root() / ".kernel")) {
        EXPECT_TRUE(entry.is_regular_file()) << entry.path();
        EXPECT_EQ(entry.path().parent_path(), machine.root() / ".kernel");
        ++files;
    }
    EXPECT_EQ(files, 12u);
}

TEST_F(kernel_objects, bad_names_parameters_and_handles_are_refused) {
    const std::pair<const wchar_t*, win32_error> names[] = {
        {L"", win32_error::invalid_name},
        {L"Global\\", win32_error::invalid_name},
        {L"Global\\folder\\name", win32_error::path_not_found},
        // The prefixes are case-sensitive: this is a folder "global" that does not exist.
        {L"global\\x", win32_error::path_not_found},
    };
    for (const auto& [name, error] : names) {
        EXPECT_EQ(os::create_mutex(name, not_owned).error(), code(error)) << os::to_utf8(name);
        EXPECT_EQ(os::create_semaphore(name, 0, 1).error(), code(error)) << os::to_utf8(name);
    }
    const std::wstring longest = L"Global\\" + std::wstring(253, L'n');
    EXPECT_TRUE(os::create_mutex(longest, not_owned));
    EXPECT_EQ(os::create_mutex(longest + L"n", not_owned).error(),
              code(win32_error::filename_exced_range));

    const std::pair<std::int32_t, std::int32_t> counts[] = {{0, 0}, {-1, 1}, {2, 1}, {0, -1}};
    for (const auto& [initial, maximum] : counts)
        EXPECT_EQ(os::create_semaphore(L"Global\\counts", initial, maximum).error(),
                  code(win32_error::invalid_parameter))
            << initial << "/" << maximum;

    auto mutex_handle = mutex(L"Global\\taken", not_owned, object_origin::created);
    auto semaphore_handle = semaphore(L"Global\\units", 1, 1, object_origin::created);
    EXPECT_EQ(os::create_semaphore(L"Global\\taken", 0, 1).error(),
              code(win32_error::invalid_handle));
    EXPECT_EQ(os::create_mutex(L"Global\\units", not_owned).error(),
              code(win32_error::invalid_handle));
    EXPECT_EQ(os::release_mutex(semaphore_handle), code(win32_error::invalid_handle));
    EXPECT_EQ(os::release_semaphore(mutex_handle, 1).error(), code(win32_error::invalid_handle));
    EXPECT_EQ(os::release_semaphore(semaphore_handle, 0).error(),
              code(win32_error::invalid_parameter));

    os::kernel_object moved = std::move(mutex_handle);
    EXPECT_EQ(os::wait(mutex_handle, 0).error(), code(win32_error::invalid_handle));
    moved.close();
    EXPECT_EQ(os::wait(moved, 0).error(), code(win32_error::invalid_handle));
}

} // namespace
