#include "platform/os/kernel_object_file.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform::os::kernel_detail {
namespace {

constexpr char magic[4] = {'Q', 'V', 'K', '1'};
// magic, kind, count, maximum, owned: host byte order, as the file never leaves the host.
constexpr std::size_t record_size = 20;

int set_lock(int descriptor, lock_byte byte, short type, int command) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(byte);
    lock.l_len = 1;
    int done = -1;
    do {
        done = ::fcntl(descriptor, command, &lock);
    } while (done != 0 && errno == EINTR);
    return done;
}

template <class T> void put(std::array<char, record_size>& record, std::size_t at, T value) {
    std::memcpy(record.data() + at, &value, sizeof value);
}

template <class T> T get(const std::array<char, record_size>& record, std::size_t at) {
    T value{};
    std::memcpy(&value, record.data() + at, sizeof value);
    return value;
}

} // namespace

serialized_section::serialized_section(serialized_section&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)) {}

serialized_section::~serialized_section() {
    if (file_)
        file_->unlock(lock_byte::serialization);
}

result<object_file> object_file::open(const std::filesystem::path& file) {
    for (;;) {
        // Opening without O_CREAT first: with fs.protected_regular, O_CREAT on another user's
        // file in a sticky folder is refused even where a plain open is allowed.
        const int existing = ::open(file.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
        if (existing < 0 && errno == EINTR)
            continue;
        if (existing < 0 && errno != ENOENT)
            return last_errno_error();
        files_detail::unique_descriptor descriptor(existing);
        if (!descriptor.valid()) {
            const int created =
                ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
            if (created < 0 && (errno == EEXIST || errno == EINTR))
                continue;
            if (created < 0)
                return last_errno_error();
            descriptor = files_detail::unique_descriptor(created);
            if (::fchmod(descriptor.get(), 0666) != 0)
                return last_errno_error();
        }
        struct stat status {};
        if (::fstat(descriptor.get(), &status) != 0)
            return last_errno_error();
        // Something else planted under the object's name is not an object.
        if (!S_ISREG(status.st_mode))
            return win32_error::invalid_handle;
        return object_file(std::move(descriptor));
    }
}

result<bool> object_file::try_lock(lock_byte byte, lock_mode mode) {
    const short type = mode == lock_mode::shared ? F_RDLCK : F_WRLCK;
    if (set_lock(descriptor_.get(), byte, type, F_OFD_SETLK) == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    return last_errno_error();
}

void object_file::unlock(lock_byte byte) {
    set_lock(descriptor_.get(), byte, F_UNLCK, F_OFD_SETLK);
}

result<serialized_section> object_file::serialize() {
    if (set_lock(descriptor_.get(), lock_byte::serialization, F_WRLCK, F_OFD_SETLKW) != 0)
        return last_errno_error();
    return serialized_section(*this);
}

result<std::optional<object_state>> object_file::read_state() const {
    std::array<char, record_size> record{};
    ssize_t read = -1;
    do {
        read = ::pread(descriptor_.get(), record.data(), record.size(), 0);
    } while (read < 0 && errno == EINTR);
    if (read < 0)
        return last_errno_error();
    if (static_cast<std::size_t>(read) < record.size() ||
        std::memcmp(record.data(), magic, sizeof magic) != 0)
        return std::optional<object_state>();
    const auto kind = get<std::uint32_t>(record, 4);
    if (kind != static_cast<std::uint32_t>(object_kind::mutex) &&
        kind != static_cast<std::uint32_t>(object_kind::semaphore))
        return std::optional<object_state>();
    return std::optional<object_state>(object_state{
        static_cast<object_kind>(kind),
        get<std::int32_t>(record, 8),
        get<std::int32_t>(record, 12),
        get<std::uint32_t>(record, 16) != 0,
    });
}

std::error_code object_file::write_state(const object_state& state) {
    std::array<char, record_size> record{};
    std::memcpy(record.data(), magic, sizeof magic);
    put(record, 4, static_cast<std::uint32_t>(state.kind));
    put(record, 8, state.count);
    put(record, 12, state.maximum);
    put(record, 16, static_cast<std::uint32_t>(state.owned ? 1 : 0));
    std::size_t written = 0;
    while (written < record.size()) {
        const ssize_t done = ::pwrite(descriptor_.get(), record.data() + written,
                                      record.size() - written, static_cast<off_t>(written));
        if (done < 0 && errno == EINTR)
            continue;
        if (done < 0)
            return last_errno_error();
        written += static_cast<std::size_t>(done);
    }
    return {};
}

} // namespace platform::os::kernel_detail
