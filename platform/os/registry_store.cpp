#include "platform/os/registry_store.h"

#include "platform/os/machine.h"
#include "platform/os/registry_io.h"

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::os {
namespace fs = std::filesystem;
namespace {

// Which version of a file was read: every write makes a new file, and an edit in place changes
// the size or the times.
struct file_identity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified_ns = 0;
    std::int64_t changed_ns = 0;

    bool operator==(const file_identity&) const = default;
};

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

file_identity identity_of(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim),
            nanoseconds(status.st_ctim)};
}

// A missing hive reads as an empty one; its identity is one no file has.
constexpr file_identity missing_file{};

struct cached_hive {
    // The file the document was read from or written to; empty while it is unknown.
    std::optional<file_identity> identity;
    bool broken = false;
    registry_document document;
};

struct hive_cache {
    std::mutex mutex;
    std::map<std::string, cached_hive> entries; // by host path of the hive file
};

hive_cache& cache() {
    static hive_cache instance;
    return instance;
}

struct hive_files {
    fs::path folder;
    fs::path hive;
    fs::path temporary;
    fs::path lock;
};

hive_files files_of(registry_hive hive) {
    const fs::path root = machine_root();
    const std::string name(hive_file_name(hive));
    return {root, root / name, root / (name + ".tmp"), root / ".kernel" / (name + ".lock")};
}

void ensure_classes_root(registry_hive hive, registry_node& root) {
    if (hive != registry_hive::local_machine)
        return;
    registry_node* node = &root;
    for (const std::wstring& component : classes_root_path()) {
        auto& child = node->subkeys[component];
        if (!child) {
            child = std::make_unique<registry_node>();
            child->modified = filetime_now();
        }
        node = child.get();
    }
}

// Brings the entry to the hive file's current content, parsing it unless it is the version the
// entry already holds.
std::error_code load(cached_hive& entry, const hive_files& files, registry_hive hive) {
    const registry_fd descriptor(::open(files.hive.c_str(), O_RDONLY | O_CLOEXEC));
    file_identity identity = missing_file;
    if (descriptor) {
        struct stat status {};
        if (::fstat(descriptor.get(), &status) != 0)
            return last_errno_error();
        identity = identity_of(status);
    } else if (errno != ENOENT) {
        return last_errno_error();
    }
    if (entry.identity == identity)
        return entry.broken ? make_error_code(win32_error::baddb) : std::error_code();

    std::string text = hive_header(hive);
    if (descriptor) {
        result<std::string> content = read_to_end(descriptor.get());
        if (!content)
            return content.error();
        text = std::move(*content);
    }
    entry.identity.reset();
    try {
        entry.document = parse_registry_file(text, files.hive.string());
    } catch (const registry_file_error& error) {
        entry.document = {};
        entry.broken = true;
        entry.identity = identity;
        return report_registry_file_error(error);
    }
    ensure_classes_root(hive, entry.document.root);
    entry.broken = false;
    entry.identity = identity;
    return {};
}

class hive_lock {
public:
    static result<hive_lock> acquire(const fs::path& file) {
        // Readable is enough for flock, so other users can lock a file someone else made.
        registry_fd descriptor(::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666));
        if (!descriptor)
            return last_errno_error();
        struct stat status {};
        if (::fstat(descriptor.get(), &status) != 0)
            return last_errno_error();
        // The umask must not keep other users from opening it.
        if (status.st_uid == ::geteuid() && (status.st_mode & 0666) != 0666 &&
            ::fchmod(descriptor.get(), 0666) != 0)
            return last_errno_error();
        while (::flock(descriptor.get(), LOCK_EX) != 0) {
            if (errno != EINTR)
                return last_errno_error();
        }
        return hive_lock(std::move(descriptor));
    }

private:
    explicit hive_lock(registry_fd descriptor) : descriptor_(std::move(descriptor)) {}
    registry_fd descriptor_;
};

// Gives the new file the mode and owner of the one it replaces.
std::error_code keep_mode_and_owner(int descriptor, const fs::path& hive) {
    struct stat old {};
    if (::stat(hive.c_str(), &old) != 0)
        return {};
    if (::fchmod(descriptor, old.st_mode & 07777) != 0)
        return last_errno_error();
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(descriptor, old.st_uid, old.st_gid) != 0)
        return last_errno_error();
    return {};
}

result<file_identity> write_hive(const hive_files& files, const std::string& text) {
    // A temporary file left by a writer that died is simply replaced.
    ::unlink(files.temporary.c_str());
    const registry_fd descriptor(
        ::open(files.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    if (!descriptor)
        return last_errno_error();
    std::error_code error = keep_mode_and_owner(descriptor.get(), files.hive);
    if (!error)
        error = write_all(descriptor.get(), text);
    if (!error && ::fsync(descriptor.get()) != 0)
        error = last_errno_error();
    if (!error && ::rename(files.temporary.c_str(), files.hive.c_str()) != 0)
        error = last_errno_error();
    if (error) {
        ::unlink(files.temporary.c_str());
        return error;
    }
    struct stat status {};
    if (::fstat(descriptor.get(), &status) != 0)
        return last_errno_error();
    if (std::error_code synced = sync_folder(files.folder.string()))
        return synced;
    return identity_of(status);
}

} // namespace

std::error_code read_hive(registry_hive hive,
                          const std::function<std::error_code(const registry_node&)>& read) {
    std::lock_guard guard(cache().mutex);
    const hive_files files = files_of(hive);
    cached_hive& entry = cache().entries[files.hive.string()];
    if (std::error_code error = load(entry, files, hive))
        return error;
    return read(entry.document.root);
}

std::error_code change_hive(registry_hive hive,
                            const std::function<result<hive_change>(registry_node&)>& change) {
    std::lock_guard guard(cache().mutex);
    const hive_files files = files_of(hive);
    result<hive_lock> lock = hive_lock::acquire(files.lock);
    if (!lock)
        return lock.error();
    cached_hive& entry = cache().entries[files.hive.string()];
    if (std::error_code error = load(entry, files, hive))
        return error;

    // Until the new file is in place the cached tree may differ from every file on disk.
    const std::optional<file_identity> loaded = std::exchange(entry.identity, std::nullopt);
    const result<hive_change> outcome = change(entry.document.root);
    if (!outcome || *outcome == hive_change::none) {
        entry.identity = loaded;
        return outcome.error();
    }
    ensure_classes_root(hive, entry.document.root);
    result<file_identity> written =
        write_hive(files, format_registry_file(entry.document.preamble, entry.document.root));
    if (!written)
        return written.error();
    entry.identity = *written;
    return {};
}

std::error_code report_registry_file_error(const registry_file_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return make_error_code(win32_error::baddb);
}

const registry_path& classes_root_path() {
    static const registry_path path{L"Software", L"Classes"};
    return path;
}

} // namespace platform::os
