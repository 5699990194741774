#pragma once
// The Shell Link binary format of ".lnk" files: the fields a link of this machine carries, as
// the bytes of a file and back.

#include "platform/os/result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform::os {

// ShowCommand of the header: how the target's first window opens.
enum class show_command : std::uint32_t { normal = 1, maximized = 3, min_no_active = 7 };

// The part of the target's find data that a link keeps in its header; zero where unknown.
struct link_target_data {
    std::uint32_t attributes = 0;
    // FILETIMEs: 100-nanosecond intervals since 1601.
    std::uint64_t creation_time = 0;
    std::uint64_t access_time = 0;
    std::uint64_t write_time = 0;
    // The low 32 bits of the size.
    std::uint32_t size = 0;

    friend bool operator==(const link_target_data&, const link_target_data&) = default;
};

struct shell_link_fields {
    // A drive path, kept in the link information as the local base path; empty for none.
    std::wstring target;
    // The serial number of the target's volume.
    std::uint32_t volume_serial = 0;
    link_target_data target_data;
    std::wstring description;
    std::wstring working_directory;
    std::wstring arguments;
    std::wstring icon_path;
    std::int32_t icon_index = 0;
    platform::os::show_command show_command = show_command::normal;

    friend bool operator==(const shell_link_fields&, const shell_link_fields&) = default;
};

// The bytes of a link file: the header, the link information when there is a target, the
// strings that are not empty (as UTF-16) and the terminal block. ERROR_INVALID_PARAMETER when a
// string has more UTF-16 units than the format counts (65535).
result<std::string> encode_shell_link(const shell_link_fields& link);

// The fields of a link file's bytes; ERROR_INVALID_DATA when they are not a shell link or are
// cut short. The target comes from the link information's local path (a link that reaches its
// target only through an item ID list or a network share has none here). A show command the
// format does not define reads as normal, as the format requires.
result<shell_link_fields> decode_shell_link(std::span<const std::byte> bytes);

} // namespace platform::os
