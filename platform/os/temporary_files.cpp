#include "platform/os/temporary_files.h"

#include "platform/os/file_faults.h"
#include "platform/os/host_descriptor.h"
#include "platform/os/machine.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <unistd.h>

namespace platform::os {
namespace fs = std::filesystem;
using namespace files_detail;

namespace {

// The numbers this process tries for new names. A forked child is another process and starts
// from a value of its own.
class name_counter {
public:
    std::uint16_t next() {
        std::lock_guard lock(mutex_);
        if (process_ != ::getpid()) {
            process_ = ::getpid();
            std::random_device seed;
            value_ = static_cast<std::uint16_t>(seed() ^ static_cast<unsigned>(process_));
        }
        if (++value_ == 0)
            ++value_;
        return value_;
    }

private:
    std::mutex mutex_;
    pid_t process_ = 0;
    std::uint16_t value_ = 0;
};

name_counter& process_counter() {
    static name_counter counter;
    return counter;
}

std::wstring name_in(std::wstring_view folder, std::wstring_view prefix, std::uint16_t number) {
    static constexpr wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring hex;
    do {
        hex.insert(hex.begin(), digits[number % 16]);
        number = static_cast<std::uint16_t>(number / 16);
    } while (number != 0);
    std::wstring name(folder);
    if (!name.empty() && name.back() != L'\\' && name.back() != L'/')
        name += L'\\';
    return name + std::wstring(prefix.substr(0, 3)) + hex + L".tmp";
}

bool is_folder(const fs::path& host) {
    struct stat status {};
    return ::stat(host.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

result<std::wstring> temporary_folder() {
    const std::wstring folder = L"C:\\users\\" + user_name() + L"\\AppData\\Local\\Temp\\";
    auto host = resolve_host(folder);
    if (!host)
        return host.error();
    if (!is_folder(*host)) {
        std::error_code error;
        fs::create_directories(*host, error);
        if (error)
            return error_from_errno(error.value());
    }
    return folder;
}

result<std::wstring> temporary_file_name(std::wstring_view folder, std::wstring_view prefix,
                                         std::uint32_t unique) {
    if (auto failure = begin_file_operation())
        return failure;
    if (unique != 0)
        return name_in(folder, prefix, static_cast<std::uint16_t>(unique));
    auto host_folder = resolve_host(folder);
    if (!host_folder)
        return host_folder.error();
    if (!is_folder(*host_folder))
        return win32_error::directory;
    // Every number at most once: when all are taken the folder is full of names.
    for (unsigned attempt = 0; attempt < 0xFFFF; ++attempt) {
        std::wstring name = name_in(folder, prefix, process_counter().next());
        auto host = resolve_host(name);
        if (!host)
            return host.error();
        auto made = open_host(*host, O_WRONLY | O_CREAT | O_EXCL);
        if (made)
            return name;
        if (made.error() != win32_error::already_exists)
            return made.error();
    }
    return win32_error::file_exists;
}

} // namespace platform::os
