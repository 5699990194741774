#include "platform/os/kernel_objects.h"

#include "platform/os/kernel_object_file.h"
#include "platform/os/kernel_object_name.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

namespace platform::os {
namespace kernel_detail {

// This process's view of an object: one open of its file, shared by all the process's handles.
class named_object {
public:
    named_object(object_file file, object_kind kind) : file(std::move(file)), kind(kind) {}

    object_file file;
    const object_kind kind;
    // A child made by fork() inherits the parent's table but must open objects on its own.
    const pid_t process = ::getpid();
    // Serializes the process's threads; the file's serialization lock serializes the processes.
    std::mutex guard;
    // The thread of this process that owns the mutex (0: none) and how many times it acquired it.
    pid_t owner_thread = 0;
    std::uint32_t recursion = 0;
};

struct handle_access {
    static kernel_object make(std::shared_ptr<named_object> object) {
        return kernel_object(std::move(object));
    }
    static named_object* object(const kernel_object& handle) { return handle.object_.get(); }
};

} // namespace kernel_detail

namespace {
using namespace kernel_detail;
namespace fs = std::filesystem;

// Windows keeps one object per name and process-wide handle tables; this is their counterpart.
struct object_table {
    std::mutex mutex;
    std::map<fs::path, std::weak_ptr<named_object>> objects;
};

object_table& table() {
    static object_table objects;
    return objects;
}

// Takes a lock that no other open of the file can hold at this point, as the serialization lock
// is held; a conflict means the locks of the file are not ours to trust.
std::error_code take_uncontended(object_file& file, lock_byte byte, lock_mode mode) {
    auto taken = file.try_lock(byte, mode);
    if (!taken)
        return taken.error();
    return *taken ? std::error_code() : make_error_code(win32_error::sharing_violation);
}

bool thread_alive(pid_t thread) {
    return ::tgkill(::getpid(), thread, 0) == 0 || errno != ESRCH;
}

result<object_state> read_valid_state(const object_file& file) {
    auto state = file.read_state();
    if (!state)
        return state.error();
    // Users of the object exist but its record is gone: someone wrote over the file.
    if (!*state)
        return win32_error::file_corrupt;
    return **state;
}

struct opened_named {
    std::shared_ptr<named_object> object;
    object_origin origin;
};

// Opens the object of the name in this process, resetting it to initial when no process uses it.
// A created mutex whose initial state is owned is owned by the calling thread.
result<opened_named> open_named(std::wstring_view name, const object_state& initial) {
    auto path = object_file_path(name);
    if (!path)
        return path.error();
    auto& objects = table();
    std::lock_guard lock(objects.mutex);
    std::erase_if(objects.objects, [](const auto& entry) { return entry.second.expired(); });
    if (auto found = objects.objects.find(*path); found != objects.objects.end()) {
        if (auto object = found->second.lock(); object && object->process == ::getpid()) {
            if (object->kind != initial.kind)
                return win32_error::invalid_handle;
            return opened_named{std::move(object), object_origin::opened_existing};
        }
    }

    auto file = object_file::open(*path);
    if (!file)
        return file.error();
    object_origin origin = object_origin::opened_existing;
    {
        auto section = file->serialize();
        if (!section)
            return section.error();
        auto alone = file->try_lock(lock_byte::in_use, lock_mode::exclusive);
        if (!alone)
            return alone.error();
        if (*alone) {
            if (initial.owned) {
                if (auto error =
                        take_uncontended(*file, lock_byte::ownership, lock_mode::exclusive))
                    return error;
            }
            if (auto error = file->write_state(initial))
                return error;
            origin = object_origin::created;
        } else {
            auto state = read_valid_state(*file);
            if (!state)
                return state.error();
            if (state->kind != initial.kind)
                return win32_error::invalid_handle;
        }
        // Converts the exclusive lock, or joins the other users.
        if (auto error = take_uncontended(*file, lock_byte::in_use, lock_mode::shared))
            return error;
    }

    auto object = std::make_shared<named_object>(std::move(*file), initial.kind);
    if (origin == object_origin::created && initial.owned) {
        object->owner_thread = ::gettid();
        object->recursion = 1;
    }
    objects.objects[*path] = object;
    return opened_named{std::move(object), origin};
}

result<opened_object> to_handle(result<opened_named> opened) {
    if (!opened)
        return opened.error();
    return opened_object{handle_access::make(std::move(opened->object)), opened->origin};
}

// One attempt: the wait's result, or nothing when the object is not available now.
using attempt = result<std::optional<wait_status>>;

attempt try_acquire_mutex(named_object& object) {
    const pid_t self = ::gettid();
    if (object.owner_thread == self) {
        ++object.recursion;
        return std::optional(wait_status::object_0);
    }
    if (object.owner_thread != 0) {
        // Another thread of this process owns it; the lock on the file is the process's.
        if (thread_alive(object.owner_thread))
            return std::optional<wait_status>();
        object.owner_thread = self;
        object.recursion = 1;
        return std::optional(wait_status::abandoned);
    }
    auto section = object.file.serialize();
    if (!section)
        return section.error();
    auto state = read_valid_state(object.file);
    if (!state)
        return state.error();
    auto locked = object.file.try_lock(lock_byte::ownership, lock_mode::exclusive);
    if (!locked)
        return locked.error();
    if (!*locked)
        return std::optional<wait_status>();
    // Owned, yet nobody holds the ownership lock: the owner ended without releasing it.
    const wait_status status = state->owned ? wait_status::abandoned : wait_status::object_0;
    if (!state->owned) {
        state->owned = true;
        if (auto error = object.file.write_state(*state)) {
            object.file.unlock(lock_byte::ownership);
            return error;
        }
    }
    object.owner_thread = self;
    object.recursion = 1;
    return std::optional(status);
}

attempt try_acquire_semaphore(named_object& object) {
    auto section = object.file.serialize();
    if (!section)
        return section.error();
    auto state = read_valid_state(object.file);
    if (!state)
        return state.error();
    if (state->count == 0)
        return std::optional<wait_status>();
    --state->count;
    if (auto error = object.file.write_state(*state))
        return error;
    return std::optional(wait_status::object_0);
}

attempt try_acquire(named_object& object) {
    std::lock_guard lock(object.guard);
    return object.kind == object_kind::mutex ? try_acquire_mutex(object)
                                             : try_acquire_semaphore(object);
}

} // namespace

result<opened_object> create_mutex(std::wstring_view name, mutex_ownership ownership) {
    object_state initial;
    initial.kind = object_kind::mutex;
    initial.owned = ownership == mutex_ownership::initially_owned;
    return to_handle(open_named(name, initial));
}

result<opened_object> create_semaphore(std::wstring_view name, std::int32_t initial_count,
                                       std::int32_t maximum_count) {
    if (maximum_count <= 0 || initial_count < 0 || initial_count > maximum_count)
        return win32_error::invalid_parameter;
    object_state initial;
    initial.kind = object_kind::semaphore;
    initial.count = initial_count;
    initial.maximum = maximum_count;
    return to_handle(open_named(name, initial));
}

result<wait_status> wait(const kernel_object& handle, std::uint32_t timeout_ms) {
    named_object* object = handle_access::object(handle);
    if (!object)
        return win32_error::invalid_handle;
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(timeout_ms);
    // Other processes cannot wake this one, so a longer wait looks again after short pauses.
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        auto acquired = try_acquire(*object);
        if (!acquired)
            return acquired.error();
        if (*acquired)
            return **acquired;
        if (timeout_ms != infinite_timeout) {
            const auto now = clock::now();
            if (now >= deadline)
                return wait_status::timeout;
            std::this_thread::sleep_for(std::min<clock::duration>(pause, deadline - now));
        } else {
            std::this_thread::sleep_for(pause);
        }
        pause = std::min(pause * 2, std::chrono::milliseconds(16));
    }
}

std::error_code release_mutex(const kernel_object& handle) {
    named_object* object = handle_access::object(handle);
    if (!object || object->kind != object_kind::mutex)
        return win32_error::invalid_handle;
    std::lock_guard lock(object->guard);
    if (object->owner_thread != ::gettid())
        return win32_error::not_owner;
    if (object->recursion > 1) {
        --object->recursion;
        return {};
    }
    auto section = object->file.serialize();
    if (!section)
        return section.error();
    auto state = read_valid_state(object->file);
    if (!state)
        return state.error();
    state->owned = false;
    if (auto error = object->file.write_state(*state))
        return error;
    object->file.unlock(lock_byte::ownership);
    object->owner_thread = 0;
    object->recursion = 0;
    return {};
}

result<std::int32_t> release_semaphore(const kernel_object& handle, std::int32_t release_count) {
    named_object* object = handle_access::object(handle);
    if (!object || object->kind != object_kind::semaphore)
        return win32_error::invalid_handle;
    if (release_count < 1)
        return win32_error::invalid_parameter;
    std::lock_guard lock(object->guard);
    auto section = object->file.serialize();
    if (!section)
        return section.error();
    auto state = read_valid_state(object->file);
    if (!state)
        return state.error();
    if (release_count > state->maximum - state->count)
        return win32_error::too_many_posts;
    const std::int32_t previous = state->count;
    state->count += release_count;
    if (auto error = object->file.write_state(*state))
        return error;
    return previous;
}

} // namespace platform::os
