#pragma once
// Win32 resources of a module: the program's own (its ".rsrc" section, read in place), or another
// file on disk (an ELF file's ".rsrc" section, or a PE file's resource directory).

#include "platform/os/result.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace platform::os {

namespace resource_type {
inline constexpr std::uint16_t cursor = 1;
inline constexpr std::uint16_t bitmap = 2;
inline constexpr std::uint16_t icon = 3;
inline constexpr std::uint16_t dialog = 5;
inline constexpr std::uint16_t string = 6;
inline constexpr std::uint16_t group_cursor = 12;
inline constexpr std::uint16_t group_icon = 14;
inline constexpr std::uint16_t version = 16;
inline constexpr std::uint16_t manifest = 24;
} // namespace resource_type

// A resource type or name: an ordinal or a string (compared without case, as Windows does).
// Any integer makes an ordinal of its low 16 bits, as MAKEINTRESOURCEW does, so that the ids of
// resources/resource_ids.h and plain numbers can be given.
class resource_id {
public:
    template <std::integral Ordinal>
    resource_id(Ordinal ordinal) : value_(static_cast<std::uint16_t>(ordinal)) {}
    resource_id(std::wstring name) : value_(std::move(name)) {}
    resource_id(const wchar_t* name) : value_(std::wstring(name)) {}

    const std::uint16_t* ordinal() const { return std::get_if<std::uint16_t>(&value_); }
    const std::wstring* name() const { return std::get_if<std::wstring>(&value_); }

private:
    std::variant<std::uint16_t, std::wstring> value_;
};

class resource_module;

// GetModuleHandleW(nullptr): the program's own resources, linked into it. A program linked
// without resources has an empty module.
const resource_module& own_module();

// LoadLibraryExW(LOAD_LIBRARY_AS_DATAFILE): the resources of a file of the machine. A file
// without resources fails with ERROR_RESOURCE_DATA_NOT_FOUND, a file of another format with
// ERROR_BAD_EXE_FORMAT.
result<std::shared_ptr<const resource_module>> load_module_file(std::wstring_view path);

// FindResourceW + LoadResource + SizeofResource + LockResource: the resource's bytes, which stay
// valid as long as the module. Without a language, the neutral or English entry is preferred,
// else the first. Missing: none.
std::optional<std::span<const std::byte>> find_resource(const resource_module& module,
                                                        const resource_id& type,
                                                        const resource_id& name,
                                                        std::optional<std::uint16_t> language = {});

// LoadStringW: the string with this id from its block (id / 16 + 1), in the language chosen as
// find_resource chooses; empty when there is none.
std::wstring load_string(const resource_module& module, std::uint32_t id,
                         std::optional<std::uint16_t> language = {});

} // namespace platform::os
