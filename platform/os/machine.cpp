#include "platform/os/machine.h"

#include "platform/os/full_path.h"
#include "platform/os/registry_hive.h"
#include "platform/os/registry_tree.h"
#include "platform/os/unicode.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::os {
namespace fs = std::filesystem;
namespace {

std::string effective_user_login() {
    const uid_t uid = ::geteuid();
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_name;
    return "user" + std::to_string(uid);
}

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    std::string buffer(16384, '\0');
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->pw_dir;
    return "/";
}

[[noreturn]] void fail(const fs::path& folder, int error_number, const std::string& doing) {
    throw machine_error(error_from_errno(error_number),
                        "cannot " + doing + " the machine folder '" + folder.string() + "'");
}

void make_folder(const fs::path& root, const fs::path& folder, mode_t mode) {
    if (::mkdir(folder.c_str(), mode) == 0) {
        // mkdir applies the umask; the shared folders must be open to every user.
        if (mode & S_ISVTX)
            ::chmod(folder.c_str(), mode);
        return;
    }
    if (errno == EEXIST) {
        struct stat status {};
        if (::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            return;
        fail(root, ENOTDIR, "create '" + folder.string() + "' in");
    }
    fail(root, errno, "create '" + folder.string() + "' in");
}

void make_link(const fs::path& root, const fs::path& link, const char* target) {
    if (::symlink(target, link.c_str()) == 0 || errno == EEXIST)
        return;
    fail(root, errno, "create '" + link.string() + "' in");
}

// Writes the file under a temporary name and links it into place, so that a reader never sees a
// half-written file and a concurrent creator's file is left as it is.
void make_file_once(const fs::path& root, const fs::path& file, const std::string& content) {
    if (::access(file.c_str(), F_OK) == 0)
        return;
    fs::path temporary = file;
    temporary += ".new." + std::to_string(::getpid());
    const int descriptor =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0)
        fail(root, errno, "write '" + file.string() + "' in");
    const bool written = ::write(descriptor, content.data(), content.size()) ==
                             static_cast<ssize_t>(content.size()) &&
                         ::fsync(descriptor) == 0;
    const int write_error = errno;
    ::close(descriptor);
    if (!written) {
        ::unlink(temporary.c_str());
        fail(root, write_error, "write '" + file.string() + "' in");
    }
    const bool linked = ::link(temporary.c_str(), file.c_str()) == 0 || errno == EEXIST;
    const int link_error = errno;
    ::unlink(temporary.c_str());
    if (!linked)
        fail(root, link_error, "write '" + file.string() + "' in");
}

// A hive file as a new machine has it. HKEY_LOCAL_MACHINE holds the key of installed programs,
// which every Windows machine has and installers open without creating it.
std::string initial_hive(registry_hive hive) {
    std::string text = hive_header(hive);
    if (hive == registry_hive::local_machine) {
        const std::uint64_t now = filetime_now();
        char block[128];
        std::snprintf(block, sizeof block,
                      "\n[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall] "
                      "%llu\n#time=%llx\n",
                      static_cast<unsigned long long>(unix_seconds_from_filetime(now)),
                      static_cast<unsigned long long>(now));
        text += block;
    }
    return text;
}

void create_layout(const fs::path& root) {
    std::error_code error;
    fs::create_directories(root, error);
    if (error)
        throw machine_error(error_from_errno(error.value()),
                            "cannot create the machine folder '" + root.string() + "'");

    const std::string user = to_utf8(from_utf8(effective_user_login()));
    const fs::path drive = root / "drive_c";
    const mode_t shared = S_ISVTX | 0777;
    const std::pair<fs::path, mode_t> folders[] = {
        {drive, 0755},
        {drive / "Program Files", 0755},
        {drive / "Program Files" / "Common Files", 0755},
        {drive / "ProgramData", shared},
        {drive / "ProgramData" / "Microsoft", 0755},
        {drive / "ProgramData" / "Microsoft" / "Windows", 0755},
        {drive / "ProgramData" / "Microsoft" / "Windows" / "Start Menu", 0755},
        {drive / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs", 0755},
        {drive / "users", shared},
        {drive / "users" / "Public", 0755},
        {drive / "users" / "Public" / "Desktop", 0755},
        {drive / "users" / "Public" / "Documents", 0755},
        {drive / "users" / user, 0755},
        {drive / "users" / user / "Desktop", 0755},
        {drive / "users" / user / "Documents", 0755},
        {drive / "users" / user / "AppData", 0755},
        {drive / "users" / user / "AppData" / "Roaming", 0755},
        {drive / "users" / user / "AppData" / "Roaming" / "Microsoft", 0755},
        {drive / "users" / user / "AppData" / "Roaming" / "Microsoft" / "Windows", 0755},
        {drive / "users" / user / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu",
         0755},
        {drive / "users" / user / "AppData" / "Roaming" / "Microsoft" / "Windows" / "Start Menu" /
             "Programs",
         0755},
        {drive / "users" / user / "AppData" / "Local", 0755},
        {drive / "users" / user / "AppData" / "Local" / "Temp", 0755},
        {drive / "windows", 0755},
        {drive / "windows" / "system32", 0755},
        {root / "dosdevices", 0755},
        {root / ".kernel", shared},
    };
    for (const auto& [folder, mode] : folders)
        make_folder(root, folder, mode);
    make_link(root, root / "dosdevices" / "c:", "../drive_c");
    // As in a Wine prefix, Z: reaches the whole host, so that any host path has a Windows name.
    make_link(root, root / "dosdevices" / "z:", "/");
    for (registry_hive hive : {registry_hive::local_machine, registry_hive::current_user})
        make_file_once(root, root / std::string(hive_file_name(hive)), initial_hive(hive));
}

bool is_invalid_name_character(wchar_t c) {
    return c < 32 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' ||
           c == L'*';
}

// The entry of folder whose name equals name without case, if one does.
std::optional<std::string> find_without_case(const fs::path& folder, std::wstring_view name) {
    std::unique_ptr<DIR, int (*)(DIR*)> directory(::opendir(folder.c_str()), &::closedir);
    if (!directory)
        return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(directory.get())) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == "..")
            continue;
        // Several spellings may match on a case-sensitive host: take the first in name order,
        // so that every process picks the same one.
        if (iequals(from_utf8(candidate), name) && (!found || candidate < *found))
            found = candidate;
    }
    return found;
}

} // namespace

fs::path configured_machine_root() {
    if (const char* configured = std::getenv("QV_MACHINE"); configured && *configured)
        return fs::path(configured);
    fs::path data;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        data = xdg;
    else
        data = fs::path(home_folder()) / ".local" / "share";
    return data / "qv-machine";
}

fs::path machine_root() {
    static std::mutex mutex;
    static std::set<fs::path> prepared;
    fs::path root = configured_machine_root();
    if (root.is_relative()) {
        std::error_code ignored;
        root = fs::absolute(root, ignored);
    }
    std::lock_guard lock(mutex);
    if (!prepared.contains(root)) {
        create_layout(root);
        prepared.insert(root);
    }
    return root;
}

result<fs::path> host_path(std::wstring_view windows_path) {
    std::wstring full = full_path_name(windows_path);
    switch (classify_path(full)) {
    case path_kind::unc:
        return win32_error::bad_netpath;
    case path_kind::local_device:
        return win32_error::invalid_name;
    case path_kind::verbatim: {
        // \\?\ skips normalization and the MAX_PATH limit, but not the drive mapping.
        std::wstring_view rest = std::wstring_view(full).substr(4);
        if (rest.size() >= 4 && iequals(rest.substr(0, 4), L"UNC\\"))
            return win32_error::bad_netpath;
        if (classify_path(rest) != path_kind::drive_absolute)
            return win32_error::invalid_name;
        full = std::wstring(rest);
        break;
    }
    default:
        if (full.size() >= max_path)
            return win32_error::filename_exced_range;
        break;
    }

    const wchar_t letter = static_cast<wchar_t>(std::tolower(static_cast<int>(full[0])));
    fs::path host = machine_root() / "dosdevices" / (to_utf8(std::wstring(1, letter)) + ":");
    struct stat status {};
    if (::stat(host.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return win32_error::path_not_found;

    bool matching = true;
    std::size_t position = 3;
    while (position < full.size()) {
        std::size_t end = full.find_first_of(L"\\/", position);
        if (end == std::wstring::npos)
            end = full.size();
        const std::wstring_view component =
            std::wstring_view(full).substr(position, end - position);
        position = end + 1;
        if (component.empty())
            continue;
        for (wchar_t c : component) {
            if (is_invalid_name_character(c))
                return win32_error::invalid_name;
        }
        std::string name = to_utf8(component);
        if (matching) {
            struct stat entry {};
            if (::lstat((host / name).c_str(), &entry) != 0) {
                if (auto spelled = find_without_case(host, component))
                    name = *spelled;
                else
                    matching = false;
            }
        }
        host /= name;
    }
    return host;
}

std::optional<std::wstring> windows_path_of_host(const fs::path& host) {
    std::error_code error;
    const fs::path target = fs::weakly_canonical(fs::absolute(host, error), error);
    if (error)
        return std::nullopt;
    std::optional<std::wstring> best;
    std::size_t best_length = 0;
    const fs::path devices = configured_machine_root() / "dosdevices";
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        std::error_code ignored;
        const fs::path drive = fs::canonical(devices / (std::string(1, letter) + ":"), ignored);
        if (ignored)
            continue;
        const std::string drive_text = drive.string();
        const std::string target_text = target.string();
        const bool inside = target_text == drive_text ||
                            (target_text.starts_with(drive_text) &&
                             (drive_text.back() == '/' || target_text[drive_text.size()] == '/'));
        if (!inside || (best && drive_text.size() <= best_length))
            continue;
        std::wstring windows;
        windows += static_cast<wchar_t>(std::toupper(letter));
        windows += L":\\";
        std::wstring rest = from_utf8(std::string_view(target_text).substr(drive_text.size()));
        while (!rest.empty() && rest.front() == L'/')
            rest.erase(0, 1);
        for (wchar_t& c : rest) {
            if (c == L'/')
                c = L'\\';
        }
        best = windows + rest;
        best_length = drive_text.size();
    }
    return best;
}

std::wstring user_name() {
    return from_utf8(effective_user_login());
}

bool is_administrator() {
    if (::geteuid() == 0)
        return true;
    struct stat status {};
    return ::stat(machine_root().c_str(), &status) == 0 && status.st_uid == ::geteuid();
}

} // namespace platform::os
