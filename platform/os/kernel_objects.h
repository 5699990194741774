#pragma once
// Named mutexes and semaphores shared by every process of the machine (CreateMutexW,
// CreateSemaphoreW, WaitForSingleObject, ReleaseMutex, ReleaseSemaphore). An object lives while
// a handle to it is open in any process; once the last one has closed, also by a crash, the next
// create starts it afresh. Within a process, every handle to a name is the same object, and a
// mutex is owned by a thread, recursively.

#include "platform/os/result.h"
#include "platform/os/wait_status.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace platform::os {

namespace kernel_detail {
class named_object;
struct handle_access;
} // namespace kernel_detail

// A handle to a named object; closing it (or destroying it) is CloseHandle.
class kernel_object {
public:
    kernel_object(kernel_object&&) noexcept = default;
    kernel_object& operator=(kernel_object&&) noexcept = default;
    kernel_object(const kernel_object&) = delete;
    kernel_object& operator=(const kernel_object&) = delete;
    ~kernel_object() = default;

    void close() { object_.reset(); }

private:
    friend struct kernel_detail::handle_access;
    explicit kernel_object(std::shared_ptr<kernel_detail::named_object> object)
        : object_(std::move(object)) {}

    std::shared_ptr<kernel_detail::named_object> object_;
};

// Whether a create made the object or opened one that was already there (ERROR_ALREADY_EXISTS).
enum class object_origin { created, opened_existing };

struct opened_object {
    kernel_object handle;
    object_origin origin;
};

enum class mutex_ownership { not_owned, initially_owned };

// Creates the mutex, owned by the calling thread when asked, or opens the existing one (whose
// ownership is then left as it is). Names follow Windows: "Global\" or "Local\" and the
// case-sensitive rest; a name taken by a semaphore fails with ERROR_INVALID_HANDLE.
result<opened_object> create_mutex(std::wstring_view name, mutex_ownership ownership);

// Creates the semaphore with initial_count of maximum_count units, or opens the existing one with
// the count it has. ERROR_INVALID_PARAMETER unless 0 <= initial_count <= maximum_count and
// maximum_count > 0; a name taken by a mutex fails with ERROR_INVALID_HANDLE.
result<opened_object> create_semaphore(std::wstring_view name, std::int32_t initial_count,
                                       std::int32_t maximum_count);

// Acquires the mutex or one unit of the semaphore, waiting up to timeout_ms (infinite_timeout:
// without limit). A mutex whose owning process ended, or whose owning thread in this process
// ended, without releasing it is acquired with wait_status::abandoned. A process's ownership
// ends with its last handle to the mutex, which then reads as abandoned to others.
result<wait_status> wait(const kernel_object& object, std::uint32_t timeout_ms);

// Gives up one level of the calling thread's ownership: ERROR_NOT_OWNER when it does not own the
// mutex, ERROR_INVALID_HANDLE for a handle that is not a mutex.
std::error_code release_mutex(const kernel_object& mutex);

// Adds release_count units and returns the count before. ERROR_TOO_MANY_POSTS (count unchanged)
// when that would exceed the maximum, ERROR_INVALID_PARAMETER for a count below 1,
// ERROR_INVALID_HANDLE for a handle that is not a semaphore.
result<std::int32_t> release_semaphore(const kernel_object& semaphore, std::int32_t release_count);

} // namespace platform::os
