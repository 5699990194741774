#pragma once
// Windows error codes (Win32 and HRESULT) as std::error_code categories, the errno translation
// and the system's message texts.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace platform::os {

// The Win32 codes the program can meet. Values are Windows' own.
enum class win32_error : std::uint32_t {
    success = 0,
    invalid_function = 1,
    file_not_found = 2,
    path_not_found = 3,
    too_many_open_files = 4,
    access_denied = 5,
    invalid_handle = 6,
    not_enough_memory = 8,
    invalid_data = 13,
    outofmemory = 14,
    invalid_drive = 15,
    current_directory = 16,
    not_same_device = 17,
    no_more_files = 18,
    write_protect = 19,
    not_ready = 21,
    crc = 23,
    write_fault = 29,
    read_fault = 30,
    gen_failure = 31,
    sharing_violation = 32,
    lock_violation = 33,
    handle_eof = 38,
    handle_disk_full = 39,
    not_supported = 50,
    bad_netpath = 53,
    file_exists = 80,
    invalid_parameter = 87,
    broken_pipe = 109,
    disk_full = 112,
    insufficient_buffer = 122,
    invalid_name = 123,
    dir_not_empty = 145,
    bad_pathname = 161,
    busy = 170,
    already_exists = 183,
    bad_exe_format = 193,
    filename_exced_range = 206,
    file_too_large = 223,
    more_data = 234,
    wait_timeout = 258,
    no_more_items = 259,
    directory = 267,
    not_owner = 288,
    too_many_posts = 298,
    mr_mid_not_found = 317,
    badkey = 1010,
    baddb = 1009,
    cantopen = 1011,
    cantread = 1012,
    cantwrite = 1013,
    key_deleted = 1018,
    io_device = 1117,
    not_found = 1168,
    cancelled = 1223,
    not_all_assigned = 1300,
    no_such_privilege = 1313,
    privilege_not_held = 1314,
    file_corrupt = 1392,
    timeout = 1460,
    resource_data_not_found = 1812,
    resource_type_not_found = 1813,
    resource_name_not_found = 1814,
    resource_lang_not_found = 1815,
    cant_resolve_filename = 1921,
};

using hresult = std::int32_t;

// The HRESULTs the program can meet.
namespace hresults {
inline constexpr hresult s_ok = 0;
inline constexpr hresult s_false = 1;
inline constexpr hresult e_notimpl = static_cast<hresult>(0x80004001);
inline constexpr hresult e_nointerface = static_cast<hresult>(0x80004002);
inline constexpr hresult e_pointer = static_cast<hresult>(0x80004003);
inline constexpr hresult e_fail = static_cast<hresult>(0x80004005);
inline constexpr hresult e_unexpected = static_cast<hresult>(0x8000FFFF);
inline constexpr hresult e_accessdenied = static_cast<hresult>(0x80070005);
inline constexpr hresult e_outofmemory = static_cast<hresult>(0x8007000E);
inline constexpr hresult e_invalidarg = static_cast<hresult>(0x80070057);
inline constexpr hresult co_e_notinitialized = static_cast<hresult>(0x800401F0);
inline constexpr hresult regdb_e_classnotreg = static_cast<hresult>(0x80040154);
} // namespace hresults

constexpr bool succeeded(hresult hr) {
    return hr >= 0;
}
constexpr bool failed(hresult hr) {
    return hr < 0;
}

// HRESULT_FROM_WIN32: facility 7 with the severity bit; 0 stays S_OK.
constexpr hresult hresult_from_win32(std::uint32_t code) {
    return static_cast<std::int32_t>(code) <= 0
               ? static_cast<hresult>(code)
               : static_cast<hresult>((code & 0x0000FFFFu) | (7u << 16) | 0x80000000u);
}

// Win32 codes: value() is the Win32 code, message() the system's English text.
const std::error_category& win32_category();
// HRESULTs: value() is the HRESULT bit pattern as a signed 32-bit number.
const std::error_category& hresult_category();

std::error_code make_error_code(win32_error code);
std::error_code win32_error_code(std::uint32_t code);
std::error_code hresult_error_code(hresult hr);

// The Win32 code a failed POSIX call's errno stands for (unknown ones give ERROR_GEN_FAILURE).
std::uint32_t win32_from_errno(int error_number);
std::error_code error_from_errno(int error_number);
inline std::error_code last_errno_error() {
    return error_from_errno(errno);
}

// The Win32 code or HRESULT of an error_code of our categories or of the generic/system ones,
// as the number the system's message table is keyed by.
std::uint32_t message_id(const std::error_code& code);

// FormatMessage(FROM_SYSTEM | IGNORE_INSERTS) for a Win32 code or an HRESULT: the text with its
// trailing "\r\n", or the reason there is none: ERROR_MR_MID_NOT_FOUND for an unknown code,
// ERROR_RESOURCE_LANG_NOT_FOUND for a language this machine has no messages in. Language 0
// means the user's language; this machine has the English (0x09) message table.
struct formatted_message {
    std::optional<std::wstring> text;
    win32_error failure = win32_error::success;
};
formatted_message format_system_message(std::uint32_t message_id, std::uint16_t language_id = 0);

// The text of a code for the user, without trailing line breaks: the system's text in the given
// language, else in the default language when that language has none, else the text of E_FAIL
// for an unknown code, else "Error".
std::wstring error_text(std::uint32_t message_id, std::uint16_t language_id = 0);

} // namespace platform::os

template <> struct std::is_error_code_enum<platform::os::win32_error> : std::true_type {};
