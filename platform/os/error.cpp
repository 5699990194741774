#include "platform/os/error.h"

#include "platform/os/unicode.h"

#include <cerrno>
#include <cstdio>
#include <map>

namespace platform::os {
namespace {

// The English system message table, keyed by Win32 code or by HRESULT bit pattern.
const std::map<std::uint32_t, const wchar_t*>& message_table() {
    static const std::map<std::uint32_t, const wchar_t*> table{
        {0, L"The operation completed successfully."},
        {1, L"Incorrect function."},
        {2, L"The system cannot find the file specified."},
        {3, L"The system cannot find the path specified."},
        {4, L"The system cannot open the file."},
        {5, L"Access is denied."},
        {6, L"The handle is invalid."},
        {8, L"Not enough memory resources are available to process this command."},
        {13, L"The data is invalid."},
        {14, L"Not enough memory resources are available to complete this operation."},
        {15, L"The system cannot find the drive specified."},
        {16, L"The directory cannot be removed."},
        {17, L"The system cannot move the file to a different disk drive."},
        {18, L"There are no more files."},
        {19, L"The media is write protected."},
        {21, L"The device is not ready."},
        {23, L"Data error (cyclic redundancy check)."},
        {29, L"The system cannot write to the specified device."},
        {30, L"The system cannot read from the specified device."},
        {31, L"A device attached to the system is not functioning."},
        {32, L"The process cannot access the file because it is being used by another process."},
        {33, L"The process cannot access the file because another process has locked a portion "
             L"of the file."},
        {38, L"Reached the end of the file."},
        {39, L"The disk is full."},
        {50, L"The request is not supported."},
        {53, L"The network path was not found."},
        {80, L"The file exists."},
        {87, L"The parameter is incorrect."},
        {109, L"The pipe has been ended."},
        {112, L"There is not enough space on the disk."},
        {122, L"The data area passed to a system call is too small."},
        {123, L"The filename, directory name, or volume label syntax is incorrect."},
        {145, L"The directory is not empty."},
        {161, L"The specified path is invalid."},
        {170, L"The requested resource is in use."},
        {183, L"Cannot create a file when that file already exists."},
        {193, L"%1 is not a valid Win32 application."},
        {206, L"The filename or extension is too long."},
        {223, L"The file size exceeds the limit allowed and cannot be saved."},
        {234, L"More data is available."},
        {258, L"The wait operation timed out."},
        {259, L"No more data is available."},
        {267, L"The directory name is invalid."},
        {288, L"Attempt to release mutex not owned by caller."},
        {298, L"Too many posts were made to a semaphore."},
        {317, L"The system cannot find message text for message number 0x%1 in the message file "
              L"for %2."},
        {1009, L"The configuration registry database is corrupt."},
        {1010, L"The configuration registry key is invalid."},
        {1011, L"The configuration registry key could not be opened."},
        {1012, L"The configuration registry key could not be read."},
        {1013, L"The configuration registry key could not be written."},
        {1018, L"Illegal operation attempted on a registry key that has been marked for "
               L"deletion."},
        {1117, L"The request could not be performed because of an I/O device error."},
        {1168, L"Element not found."},
        {1223, L"The operation was canceled by the user."},
        {1300, L"Not all privileges or groups referenced are assigned to the caller."},
        {1313, L"A specified privilege does not exist."},
        {1314, L"A required privilege is not held by the client."},
        {1392, L"The file or directory is corrupted and unreadable."},
        {1460, L"This operation returned because the timeout period expired."},
        {1812, L"The specified image file did not contain a resource section."},
        {1813, L"The specified resource type cannot be found in the image file."},
        {1814, L"The specified resource name cannot be found in the image file."},
        {1815, L"The specified resource language ID cannot be found in the image file."},
        {1921, L"The name of the file cannot be resolved by the system."},
        {0x80004001u, L"Not implemented"},
        {0x80004002u, L"No such interface supported"},
        {0x80004003u, L"Invalid pointer"},
        {0x80004005u, L"Unspecified error"},
        {0x8000FFFFu, L"Catastrophic failure"},
        {0x800401F0u, L"CoInitialize has not been called."},
        {0x80040154u, L"Class not registered"},
    };
    return table;
}

const wchar_t* find_message(std::uint32_t id) {
    const auto& table = message_table();
    if (auto found = table.find(id); found != table.end())
        return found->second;
    // An HRESULT of the Win32 facility carries its Win32 code in the low word.
    if ((id & 0xFFFF0000u) == 0x80070000u) {
        if (auto found = table.find(id & 0xFFFFu); found != table.end())
            return found->second;
    }
    return nullptr;
}

std::string narrow_message(std::uint32_t id) {
    if (const wchar_t* text = find_message(id))
        return to_utf8(text);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "Unknown error 0x%08X", static_cast<unsigned>(id));
    return buffer;
}

class win32_category_impl final : public std::error_category {
public:
    const char* name() const noexcept override { return "win32"; }
    std::string message(int value) const override {
        return narrow_message(static_cast<std::uint32_t>(value));
    }
};

class hresult_category_impl final : public std::error_category {
public:
    const char* name() const noexcept override { return "hresult"; }
    std::string message(int value) const override {
        return narrow_message(static_cast<std::uint32_t>(value));
    }
};

} // namespace

const std::error_category& win32_category() {
    static const win32_category_impl category;
    return category;
}

const std::error_category& hresult_category() {
    static const hresult_category_impl category;
    return category;
}

std::error_code make_error_code(win32_error code) {
    return {static_cast<int>(code), win32_category()};
}

std::error_code win32_error_code(std::uint32_t code) {
    return {static_cast<int>(code), win32_category()};
}

std::error_code hresult_error_code(hresult hr) {
    return {hr, hresult_category()};
}

std::uint32_t win32_from_errno(int error_number) {
    switch (error_number) {
    case 0:
        return 0;
    case ENOENT:
        return 2;
    case ENOTDIR:
        return 3;
    case EMFILE:
    case ENFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
        return 5;
    case EBADF:
        return 6;
    case ENOMEM:
        return 8;
    case ENODEV:
    case ENXIO:
        return 15;
    case EXDEV:
        return 17;
    case EROFS:
        return 19;
    case ETXTBSY:
        return 32;
    case EAGAIN:
        return 33;
    case ENOTSUP:
    case ENOSYS:
        return 50;
    case EINVAL:
        return 87;
    case EPIPE:
        return 109;
    case ENOSPC:
    case EDQUOT:
        return 112;
    case ENOTEMPTY:
        return 145;
    case EBUSY:
        return 170;
    case EEXIST:
        return 183;
    case ENOEXEC:
        return 193;
    case ENAMETOOLONG:
        return 206;
    case EFBIG:
        return 223;
    case ETIMEDOUT:
        return 1460;
    case EIO:
        return 1117;
    case ELOOP:
        return 1921;
    default:
        return 31;
    }
}

std::error_code error_from_errno(int error_number) {
    return win32_error_code(win32_from_errno(error_number));
}

std::uint32_t message_id(const std::error_code& code) {
    if (code.category() == win32_category() || code.category() == hresult_category())
        return static_cast<std::uint32_t>(code.value());
    if (code.category() == std::generic_category() || code.category() == std::system_category())
        return win32_from_errno(code.value());
    return static_cast<std::uint32_t>(hresults::e_fail);
}

formatted_message format_system_message(std::uint32_t id, std::uint16_t language_id) {
    // Only English messages are installed: language 0 (neutral/user default) and any English
    // sublanguage find them; other languages report the missing language as Windows does.
    const std::uint16_t primary = language_id & 0x3FFu;
    if (language_id != 0 && primary != 0x09)
        return {std::nullopt, win32_error::resource_lang_not_found};
    if (const wchar_t* text = find_message(id))
        return {std::wstring(text) + L"\r\n", win32_error::success};
    return {std::nullopt, win32_error::mr_mid_not_found};
}

std::wstring error_text(std::uint32_t id, std::uint16_t language_id) {
    auto message = format_system_message(id, language_id);
    if (!message.text && message.failure == win32_error::resource_lang_not_found)
        message = format_system_message(id, 0);
    if (!message.text) {
        const auto unspecified = static_cast<std::uint32_t>(hresults::e_fail);
        return id == unspecified ? L"Error" : error_text(unspecified, language_id);
    }
    std::wstring text = std::move(*message.text);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

} // namespace platform::os
