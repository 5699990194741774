#pragma once
// The registry of the machine: HKEY_LOCAL_MACHINE in system.reg, HKEY_CURRENT_USER in user.reg
// and HKEY_CLASSES_ROOT as HKEY_LOCAL_MACHINE\Software\Classes, with the outcomes of the Win32
// registry functions. Every change is written to the hive file at once.

#include "platform/os/registry_hive.h"
#include "platform/os/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::os {

enum class predefined_key { classes_root, current_user, local_machine };

// REGSAM bits, Windows' values.
namespace key_access {
inline constexpr std::uint32_t query_value = 0x0001, set_value = 0x0002, create_sub_key = 0x0004,
                               enumerate_sub_keys = 0x0008, notify = 0x0010, read = 0x20019,
                               write = 0x20006, all_access = 0xF003F, maximum_allowed = 0x02000000;
}

namespace value_type {
inline constexpr std::uint32_t none = 0, sz = 1, expand_sz = 2, binary = 3, dword = 4,
                               dword_big_endian = 5, link = 6, multi_sz = 7, qword = 11;
}

// Flags of restore_key (RegRestoreKeyW).
namespace restore_flags {
inline constexpr std::uint32_t force_restore = 0x8;
}

// An open key: its hive, its path there and the access granted when it was opened. It refers to
// the key by path; once the key is deleted, operations through it fail with ERROR_KEY_DELETED.
// A handle that was moved from is closed: operations through it fail with ERROR_INVALID_HANDLE.
class registry_key {
public:
    registry_key(registry_key&& other) noexcept;
    registry_key& operator=(registry_key&& other) noexcept;
    registry_key(const registry_key&) = delete;
    registry_key& operator=(const registry_key&) = delete;
    ~registry_key() = default;

    bool is_open() const { return open_; }
    registry_hive hive() const { return hive_; }
    // The components of the key's path below the hive's root.
    const std::vector<std::wstring>& path() const { return path_; }
    std::uint32_t access() const { return access_; }

private:
    friend struct registry_key_maker;
    registry_key(registry_hive hive, std::vector<std::wstring> path, std::uint32_t access);

    registry_hive hive_ = registry_hive::local_machine;
    std::vector<std::wstring> path_;
    std::uint32_t access_ = 0;
    bool open_ = false;
};

// Sub-keys are paths with '\' between components; the empty sub-key names the key itself.
result<registry_key> open_key(predefined_key root, std::wstring_view sub_key, std::uint32_t access);
result<registry_key> open_key(const registry_key& parent, std::wstring_view sub_key,
                              std::uint32_t access);

enum class key_disposition : std::uint32_t { created_new_key = 1, opened_existing_key = 2 };
struct created_key {
    registry_key key;
    key_disposition disposition;
};
result<created_key> create_key(predefined_key root, std::wstring_view sub_key,
                               std::uint32_t access);
result<created_key> create_key(const registry_key& parent, std::wstring_view sub_key,
                               std::uint32_t access);

// The bytes are stored exactly as given.
std::error_code set_value(const registry_key& key, std::wstring_view name, std::uint32_t type,
                          std::string_view bytes);
// The text as UTF-16LE with its terminating NUL.
std::error_code set_string_value(const registry_key& key, std::wstring_view name,
                                 std::wstring_view text, std::uint32_t type = value_type::sz);
std::error_code set_dword_value(const registry_key& key, std::wstring_view name,
                                std::uint32_t value);

struct value_info {
    std::uint32_t type;
    std::uint32_t size;
};
result<value_info> query_value_info(const registry_key& key, std::wstring_view name);
struct value_data {
    std::uint32_t type;
    std::string bytes;
};
result<value_data> query_value(const registry_key& key, std::wstring_view name);
std::error_code delete_value(const registry_key& key, std::wstring_view name);

// The key and its whole subtree (SHDeleteKeyW).
std::error_code delete_tree(predefined_key root, std::wstring_view sub_key);
std::error_code delete_tree(const registry_key& parent, std::wstring_view sub_key);

// Subkeys in Windows' name order, values in the order they were first set; ERROR_NO_MORE_ITEMS
// past the end.
result<std::wstring> enum_key(const registry_key& key, std::uint32_t index);
result<std::wstring> enum_value(const registry_key& key, std::uint32_t index);

// RegSaveKeyW: the key's values and subtree, as a registry file at a Windows path.
std::error_code save_key(const registry_key& key, std::wstring_view file);
// RegRestoreKeyW: replaces the key's values and subkeys by those of a saved file.
std::error_code restore_key(const registry_key& key, std::wstring_view file, std::uint32_t flags);

} // namespace platform::os
