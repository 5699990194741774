#pragma once
// The file that carries a named kernel object between processes: a small state record, and
// open-file-description locks that tell who uses the object, who owns a mutex, and who is
// changing the state. Such locks belong to one open of the file and go with its last descriptor,
// so a process that dies, even by SIGKILL, leaves none behind.

#include "platform/os/host_descriptor.h"
#include "platform/os/result.h"

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform::os::kernel_detail {

enum class object_kind : std::uint32_t { mutex = 1, semaphore = 2 };

struct object_state {
    object_kind kind = object_kind::mutex;
    std::int32_t count = 0;   // semaphore: the units available
    std::int32_t maximum = 0; // semaphore
    bool owned = false;       // mutex: acquired and not released since
};

// Locks are advisory, so their bytes may lie inside the state record.
enum class lock_byte : off_t {
    in_use = 0,        // shared by every open of the object, exclusive only to reset it
    ownership = 1,     // exclusive while a mutex is owned
    serialization = 2, // exclusive while the state is read and changed
};
enum class lock_mode { shared, exclusive };

class object_file;

// Holds the serialization lock for a scope.
class serialized_section {
public:
    serialized_section(serialized_section&& other) noexcept;
    serialized_section& operator=(serialized_section&&) = delete;
    ~serialized_section();

private:
    friend class object_file;
    explicit serialized_section(object_file& file) : file_(&file) {}
    object_file* file_;
};

class object_file {
public:
    // Opens the file, creating it readable and writable by every user whatever the umask. A
    // file another user created in the sticky folder is opened as it is, never re-created.
    static result<object_file> open(const std::filesystem::path& file);

    // Takes or converts the lock without waiting: false when another open of the file holds one
    // that conflicts.
    result<bool> try_lock(lock_byte byte, lock_mode mode);
    void unlock(lock_byte byte);

    // Waits for the serialization lock; every change of the state happens inside a section.
    result<serialized_section> serialize();

    // The record, or nothing when the file holds none (it was just created).
    result<std::optional<object_state>> read_state() const;
    std::error_code write_state(const object_state& state);

private:
    explicit object_file(files_detail::unique_descriptor descriptor)
        : descriptor_(std::move(descriptor)) {}

    files_detail::unique_descriptor descriptor_;
};

} // namespace platform::os::kernel_detail
