#include "platform/os/version_info.h"

#include "platform/os/binary_view.h"
#include "platform/os/resources.h"
#include "platform/os/unicode.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace platform::os {
namespace {

constexpr std::uint16_t version_resource_id = 1; // VS_VERSION_INFO
constexpr std::uint64_t node_header_size = 6;    // wLength, wValueLength, wType
constexpr std::uint16_t text_node = 1;

constexpr std::uint64_t align4(std::uint64_t offset) {
    return (offset + 3) & ~std::uint64_t{3};
}

struct version_node {
    std::uint64_t end;
    std::wstring key;
    std::span<const std::byte> value;
    std::uint64_t children;
};

// The node at offset, cut at limit; none when not even its key fits.
std::optional<version_node> read_node(const binary_view& block, std::uint64_t offset,
                                      std::uint64_t limit) {
    if (limit < offset || limit - offset < node_header_size)
        return std::nullopt;
    const std::uint16_t length = block.u16(offset);
    if (length < node_header_size)
        return std::nullopt;
    const std::uint64_t end = std::min(offset + length, limit);
    const std::uint16_t value_length = block.u16(offset + 2);
    const std::uint16_t type = block.u16(offset + 4);

    std::uint64_t key_end = offset + node_header_size;
    while (key_end + 2 <= end && block.u16(key_end) != 0)
        key_end += 2;
    if (key_end + 2 > end)
        return std::nullopt;
    version_node node;
    node.end = end;
    node.key =
        utf16le_text(block.range(offset + node_header_size, key_end - offset - node_header_size));

    // A text value counts UTF-16 units, a binary one bytes.
    const std::uint64_t value_start = std::min(align4(key_end + 2), end);
    const std::uint64_t value_bytes =
        type == text_node ? std::uint64_t{value_length} * 2 : value_length;
    const std::uint64_t value_end = std::min(value_start + value_bytes, end);
    node.value = block.range(value_start, value_end - value_start);
    if (type == text_node) {
        std::uint64_t units = 0;
        while (units + 2 <= node.value.size() &&
               (node.value[units] != std::byte{0} || node.value[units + 1] != std::byte{0}))
            units += 2;
        node.value = node.value.first(static_cast<std::size_t>(units));
    }
    node.children = std::min(align4(value_start + value_bytes), end);
    return node;
}

std::vector<std::wstring_view> keys_of(std::wstring_view sub_block) {
    std::vector<std::wstring_view> keys;
    while (!sub_block.empty()) {
        const auto separator = sub_block.find(L'\\');
        if (separator != 0)
            keys.push_back(sub_block.substr(0, separator));
        if (separator == std::wstring_view::npos)
            break;
        sub_block.remove_prefix(separator + 1);
    }
    return keys;
}

// A copy of the file's version resource, whose module is gone when the caller reads it.
std::optional<std::vector<std::byte>> version_resource(std::wstring_view path) {
    auto module = load_module_file(path);
    if (!module)
        return std::nullopt;
    const auto resource = find_resource(**module, resource_type::version, version_resource_id);
    if (!resource || resource->size() > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return std::vector<std::byte>(resource->begin(), resource->end());
}

} // namespace

std::optional<std::span<const std::byte>> ver_query_value(std::span<const std::byte> block,
                                                          std::wstring_view sub_block) {
    const binary_view view(block, win32_error::resource_data_not_found);
    auto node = read_node(view, 0, view.size());
    if (!node)
        return std::nullopt;
    const auto keys = keys_of(sub_block);
    if (keys.empty() && node->value.empty())
        return std::nullopt;
    for (const std::wstring_view key : keys) {
        std::optional<version_node> found;
        for (std::uint64_t child = node->children; child < node->end;) {
            auto candidate = read_node(view, child, node->end);
            if (!candidate)
                break;
            if (iequals(candidate->key, key)) {
                found = std::move(candidate);
                break;
            }
            child = align4(candidate->end);
        }
        if (!found)
            return std::nullopt;
        node = std::move(found);
    }
    return node->value;
}

std::uint32_t get_file_version_info_size(std::wstring_view path) {
    const auto resource = version_resource(path);
    return resource ? static_cast<std::uint32_t>(resource->size()) : 0;
}

bool get_file_version_info(std::wstring_view path, std::span<std::byte> data) {
    const auto resource = version_resource(path);
    if (!resource)
        return false;
    std::copy_n(resource->begin(), std::min(resource->size(), data.size()), data.begin());
    return true;
}

std::optional<std::wstring> ver_query_string(std::span<const std::byte> block,
                                             std::wstring_view sub_block) {
    const auto value = ver_query_value(block, sub_block);
    if (!value)
        return std::nullopt;
    return utf16le_text(*value);
}

std::optional<fixed_file_info> read_fixed_file_info(std::span<const std::byte> value) {
    if (value.size() < fixed_file_info_size)
        return std::nullopt;
    const binary_view view(value, win32_error::resource_data_not_found);
    std::array<std::uint32_t, fixed_file_info_size / 4> fields{};
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i] = view.u32(i * 4);
    if (fields[0] != fixed_file_info_signature)
        return std::nullopt;
    return fixed_file_info{fields[0],  fields[1],  fields[2], fields[3], fields[4],
                           fields[5],  fields[6],  fields[7], fields[8], fields[9],
                           fields[10], fields[11], fields[12]};
}

} // namespace platform::os
