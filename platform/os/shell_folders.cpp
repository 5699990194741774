#include "platform/os/shell_folders.h"

#include "platform/os/directories.h"
#include "platform/os/file_attributes.h"
#include "platform/os/full_path.h"
#include "platform/os/machine.h"
#include "platform/os/registry.h"
#include "platform/os/unicode.h"

#include <optional>
#include <string_view>

namespace platform::os {
namespace {

constexpr std::wstring_view user_shell_folders_key =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct folder_entry {
    int csidl;
    // Where the redirection value lives and its name; empty name: not redirectable.
    predefined_key root;
    const wchar_t* value_name;
    // The default location, with %VARIABLES% expanded like a redirection value.
    const wchar_t* default_location;
};

constexpr folder_entry folders[] = {
    {csidl::programs, predefined_key::current_user, L"Programs",
     L"%APPDATA%\\Microsoft\\Windows\\Start Menu\\Programs"},
    {csidl::personal, predefined_key::current_user, L"Personal", L"%USERPROFILE%\\Documents"},
    {csidl::start_menu, predefined_key::current_user, L"Start Menu",
     L"%APPDATA%\\Microsoft\\Windows\\Start Menu"},
    {csidl::desktop_directory, predefined_key::current_user, L"Desktop", L"%USERPROFILE%\\Desktop"},
    {csidl::common_start_menu, predefined_key::local_machine, L"Common Start Menu",
     L"%ProgramData%\\Microsoft\\Windows\\Start Menu"},
    {csidl::common_programs, predefined_key::local_machine, L"Common Programs",
     L"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs"},
    {csidl::common_desktop_directory, predefined_key::local_machine, L"Common Desktop",
     L"%PUBLIC%\\Desktop"},
    {csidl::appdata, predefined_key::current_user, L"AppData", L"%APPDATA%"},
    {csidl::common_appdata, predefined_key::local_machine, L"Common AppData", L"%ProgramData%"},
    {csidl::windows, predefined_key::local_machine, nullptr, L"%SystemRoot%"},
    {csidl::system, predefined_key::local_machine, nullptr, L"%SystemRoot%\\system32"},
    {csidl::program_files, predefined_key::local_machine, nullptr, L"%ProgramFiles%"},
    {csidl::program_files_common, predefined_key::local_machine, nullptr, L"%CommonProgramFiles%"},
    {csidl::common_documents, predefined_key::local_machine, L"Common Documents",
     L"%PUBLIC%\\Documents"},
};

const folder_entry* find_folder(int csidl) {
    for (const auto& entry : folders) {
        if (entry.csidl == csidl)
            return &entry;
    }
    return nullptr;
}

// The machine's environment as Windows sets it for the user.
std::optional<std::wstring> environment_value(std::wstring_view name) {
    const std::wstring profile = L"C:\\users\\" + user_name();
    const std::pair<const wchar_t*, std::wstring> variables[] = {
        {L"USERPROFILE", profile},
        {L"APPDATA", profile + L"\\AppData\\Roaming"},
        {L"LOCALAPPDATA", profile + L"\\AppData\\Local"},
        {L"USERNAME", user_name()},
        {L"PUBLIC", L"C:\\users\\Public"},
        {L"ProgramData", L"C:\\ProgramData"},
        {L"ALLUSERSPROFILE", L"C:\\ProgramData"},
        {L"SystemDrive", L"C:"},
        {L"SystemRoot", L"C:\\windows"},
        {L"windir", L"C:\\windows"},
        {L"ProgramFiles", L"C:\\Program Files"},
        {L"CommonProgramFiles", L"C:\\Program Files\\Common Files"},
    };
    for (const auto& [variable, value] : variables) {
        if (iequals(variable, name))
            return value;
    }
    return std::nullopt;
}

// ExpandEnvironmentStringsW: %NAME% replaced by its value; unknown names stay as written.
std::wstring expand_environment(std::wstring_view text) {
    std::wstring out;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t open = text.find(L'%', position);
        const std::size_t close =
            open == std::wstring_view::npos ? std::wstring_view::npos : text.find(L'%', open + 1);
        if (close == std::wstring_view::npos) {
            out += text.substr(position);
            break;
        }
        out += text.substr(position, open - position);
        if (auto value = environment_value(text.substr(open + 1, close - open - 1))) {
            out += *value;
            position = close + 1;
        } else {
            out += text.substr(open, close - open);
            position = close;
        }
    }
    return out;
}

// The redirection value: none when absent or unreadable, else its text (maybe empty).
std::optional<std::wstring> redirection(const folder_entry& entry) {
    if (!entry.value_name)
        return std::nullopt;
    auto key = open_key(entry.root, user_shell_folders_key, key_access::read);
    if (!key)
        return std::nullopt;
    auto value = query_value(*key, entry.value_name);
    if (!value || (value->type != value_type::sz && value->type != value_type::expand_sz))
        return std::nullopt;
    std::wstring text = from_utf16le(value->bytes);
    if (const auto end = text.find(L'\0'); end != std::wstring::npos)
        text.resize(end);
    return text;
}

bool is_folder(const std::wstring& path) {
    auto attributes = get_file_attributes(path);
    return attributes && (*attributes & file_attribute::directory);
}

// Creates the folder and every missing parent, as the shell does for CSIDL_FLAG_CREATE.
std::error_code create_folder_tree(const std::wstring& path) {
    for (std::size_t separator = path.find(L'\\', 3);;
         separator = path.find(L'\\', separator + 1)) {
        const std::wstring part = path.substr(0, separator);
        if (!is_folder(part)) {
            if (auto error = create_directory(part); error && error != win32_error::already_exists)
                return error;
        }
        if (separator == std::wstring::npos)
            return {};
    }
}

} // namespace

std::wstring shell_folder_location(int csidl) {
    const folder_entry* entry = find_folder(csidl & ~csidl::flag_create);
    if (!entry)
        return {};
    const auto redirected = redirection(*entry);
    return expand_environment(redirected ? *redirected : entry->default_location);
}

hresult get_folder_path(int csidl, std::wstring& path) {
    path.clear();
    if (!find_folder(csidl & ~csidl::flag_create))
        return hresults::e_invalidarg;
    std::wstring location = shell_folder_location(csidl);
    if (location.empty())
        return hresults::e_fail;
    if (location.size() >= max_path)
        return hresult_from_win32(static_cast<std::uint32_t>(win32_error::filename_exced_range));
    if (!is_folder(location)) {
        if (!(csidl & csidl::flag_create))
            return hresult_from_win32(static_cast<std::uint32_t>(win32_error::file_not_found));
        if (auto error = create_folder_tree(location))
            return hresult_from_win32(message_id(error));
    }
    path = std::move(location);
    return hresults::s_ok;
}

bool get_special_folder_path(int csidl, std::wstring& path, folder_creation creation) {
    const int flags = creation == folder_creation::create ? csidl::flag_create : 0;
    return succeeded(get_folder_path(csidl | flags, path));
}

std::wstring documents_known_folder() {
    return shell_folder_location(csidl::personal);
}

} // namespace platform::os
