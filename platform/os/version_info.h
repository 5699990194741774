#pragma once
// Windows' version API over the VS_VERSIONINFO block of a module's version resource (type 16,
// id 1). Each node of the block is wLength, wValueLength, wType (1 text, 0 binary), szKey, padding
// to 4, the value, padding to 4, then the children. The root "VS_VERSION_INFO" holds a
// VS_FIXEDFILEINFO and the children StringFileInfo -> tables ("040004b0") -> strings, and
// VarFileInfo -> "Translation".

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform::os {

// GetFileVersionInfoSizeW: the size of the file's version resource; 0 when the file has none or
// cannot be read.
std::uint32_t get_file_version_info_size(std::wstring_view path);

// GetFileVersionInfoW: copies the file's version resource into data, as much of it as fits.
// False when the file has none or cannot be read.
bool get_file_version_info(std::wstring_view path, std::span<std::byte> data);

// VerQueryValueW: the value of a node of the block, found by the keys of sub_block separated by
// backslashes (compared without case). "\" gives the root's VS_FIXEDFILEINFO (none when the root
// has no value), "\VarFileInfo\Translation" the (language, code page) pairs,
// "\StringFileInfo\<language><code page>\<key>" a string's UTF-16LE units without the NUL.
// None when a node is missing. Lengths beyond their parent are cut at the parent's end; a node too
// short to have a key ends its parent's children.
std::optional<std::span<const std::byte>> ver_query_value(std::span<const std::byte> block,
                                                          std::wstring_view sub_block);

// A text value of ver_query_value as a string.
std::optional<std::wstring> ver_query_string(std::span<const std::byte> block,
                                             std::wstring_view sub_block);

inline constexpr std::uint32_t fixed_file_info_signature = 0xFEEF04BD;

// VS_FIXEDFILEINFO
struct fixed_file_info {
    std::uint32_t signature = 0;
    std::uint32_t struc_version = 0;
    std::uint32_t file_version_ms = 0;
    std::uint32_t file_version_ls = 0;
    std::uint32_t product_version_ms = 0;
    std::uint32_t product_version_ls = 0;
    std::uint32_t file_flags_mask = 0;
    std::uint32_t file_flags = 0;
    std::uint32_t file_os = 0;
    std::uint32_t file_type = 0;
    std::uint32_t file_subtype = 0;
    std::uint32_t file_date_ms = 0;
    std::uint32_t file_date_ls = 0;
};
inline constexpr std::size_t fixed_file_info_size = 52;

// The VS_FIXEDFILEINFO in the value of "\"; none when it is shorter or lacks the signature.
std::optional<fixed_file_info> read_fixed_file_info(std::span<const std::byte> value);

} // namespace platform::os
