#include "platform/os/shell_link.h"

#include "platform/os/com_library.h"
#include "platform/os/file_attributes.h"
#include "platform/os/file_replacement.h"
#include "platform/os/files.h"
#include "platform/os/full_path.h"
#include "platform/os/host_descriptor.h"
#include "platform/os/windows_path.h"

#include <array>
#include <fcntl.h>
#include <sys/stat.h>

namespace platform::os {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t filetime_epoch_offset = 11644473600ull;

std::uint64_t filetime(std::int64_t seconds, std::uint32_t nanoseconds) {
    if (seconds < -static_cast<std::int64_t>(filetime_epoch_offset))
        return 0;
    return (static_cast<std::uint64_t>(seconds) + filetime_epoch_offset) * 10'000'000u +
           nanoseconds / 100u;
}

// What Windows' find data tells of the target; all zero when nothing is there.
link_target_data target_data_of(std::wstring_view target) {
    const auto attributes = get_file_attributes(target);
    const auto host = files_detail::resolve_host(target);
    struct statx status {};
    if (!attributes || !host ||
        ::statx(AT_FDCWD, host->c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &status) != 0)
        return {};
    link_target_data data;
    data.attributes = *attributes;
    if (status.stx_mask & STATX_BTIME)
        data.creation_time = filetime(status.stx_btime.tv_sec, status.stx_btime.tv_nsec);
    data.access_time = filetime(status.stx_atime.tv_sec, status.stx_atime.tv_nsec);
    data.write_time = filetime(status.stx_mtime.tv_sec, status.stx_mtime.tv_nsec);
    if (!(*attributes & file_attribute::directory))
        data.size = static_cast<std::uint32_t>(status.stx_size);
    return data;
}

// The serial number of the volume that holds the drive's root; 0 for a drive the machine lacks.
std::uint32_t volume_serial_of(std::wstring_view drive_path) {
    const auto root = get_file_identity(path_root_name(drive_path) + L"\\");
    return root ? static_cast<std::uint32_t>(root->volume) : 0;
}

result<std::string> read_whole_file(std::wstring_view path) {
    auto file =
        create_file(path, file_access::generic_read, file_share::read, creation::open_existing);
    if (!file)
        return file.error();
    std::string content;
    std::array<std::byte, 4096> chunk{};
    for (;;) {
        auto count = file->read(chunk);
        if (!count)
            return count.error();
        if (*count == 0)
            return content;
        content.append(reinterpret_cast<const char*>(chunk.data()), *count);
    }
}

} // namespace

result<shell_link> shell_link::create() {
    if (!com_initialized_on_this_thread())
        return hresult_error_code(hresults::co_e_notinitialized);
    return shell_link();
}

std::error_code shell_link::set_path(std::wstring_view path) {
    if (path.empty()) {
        fields_.target.clear();
        fields_.target_data = {};
        fields_.volume_serial = 0;
        return {};
    }
    std::wstring full = full_path_name(path);
    switch (classify_path(full)) {
    case path_kind::drive_absolute:
        break;
    case path_kind::unc:
        return win32_error::bad_netpath;
    default:
        return win32_error::invalid_name;
    }
    fields_.target_data = target_data_of(full);
    fields_.volume_serial = volume_serial_of(full);
    fields_.target = std::move(full);
    return {};
}

void shell_link::set_arguments(std::wstring_view arguments) {
    fields_.arguments = arguments;
}

void shell_link::set_working_directory(std::wstring_view folder) {
    fields_.working_directory = folder;
}

void shell_link::set_description(std::wstring_view description) {
    fields_.description = description;
}

void shell_link::set_icon_location(std::wstring_view path, std::int32_t index) {
    fields_.icon_path = path;
    fields_.icon_index = index;
}

void shell_link::set_show_command(show_command command) {
    fields_.show_command = command;
}

std::error_code shell_link::save(std::wstring_view link_path) const {
    const auto bytes = encode_shell_link(fields_);
    if (!bytes)
        return bytes.error();
    return replace_file_content(link_path, std::as_bytes(std::span(*bytes)));
}

std::error_code shell_link::load(std::wstring_view link_path) {
    const auto bytes = read_whole_file(link_path);
    if (!bytes)
        return bytes.error();
    auto fields = decode_shell_link(std::as_bytes(std::span(*bytes)));
    if (!fields)
        return fields.error();
    fields_ = std::move(*fields);
    return {};
}

} // namespace platform::os
