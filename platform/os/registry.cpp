#include "platform/os/registry.h"

#include "platform/os/machine.h"
#include "platform/os/privileges.h"
#include "platform/os/registry_io.h"
#include "platform/os/registry_store.h"
#include "platform/os/registry_text.h"
#include "platform/os/unicode.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <type_traits>
#include <unistd.h>
#include <utility>

namespace platform::os {

struct registry_key_maker {
    static registry_key make(registry_hive hive, registry_path path, std::uint32_t access) {
        return registry_key(hive, std::move(path), access);
    }
};

registry_key::registry_key(registry_hive hive, std::vector<std::wstring> path, std::uint32_t access)
    : hive_(hive), path_(std::move(path)), access_(access), open_(true) {}

registry_key::registry_key(registry_key&& other) noexcept
    : hive_(other.hive_), path_(std::move(other.path_)), access_(other.access_),
      open_(std::exchange(other.open_, false)) {}

registry_key& registry_key::operator=(registry_key&& other) noexcept {
    if (this != &other) {
        hive_ = other.hive_;
        path_ = std::move(other.path_);
        access_ = other.access_;
        open_ = std::exchange(other.open_, false);
    }
    return *this;
}

namespace {

constexpr std::uint32_t generic_read = 0x80000000;
constexpr std::uint32_t generic_write = 0x40000000;
constexpr std::uint32_t generic_execute = 0x20000000;
constexpr std::uint32_t generic_all = 0x10000000;

using change_of_key = std::function<result<hive_change>(registry_node&)>;
using read_of_key = std::function<std::error_code(const registry_node&)>;

struct key_location {
    registry_hive hive;
    registry_path path;
};

// Public functions report through codes: a machine folder that cannot be prepared or memory
// running out become the codes Windows would give.
template <class Body> auto guarded(Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const machine_error& error) {
        return error.code();
    } catch (const std::bad_alloc&) {
        return make_error_code(win32_error::not_enough_memory);
    }
}

// The key rights a request stands for: generic rights as the key rights they map to; the bits
// that choose a 32- or 64-bit view mean nothing on this machine and are dropped.
std::uint32_t mapped_access(std::uint32_t requested) {
    std::uint32_t access = requested & (key_access::all_access | key_access::maximum_allowed);
    if (requested & (generic_read | generic_execute))
        access |= key_access::read;
    if (requested & generic_write)
        access |= key_access::write;
    if (requested & generic_all)
        access |= key_access::all_access;
    return access;
}

// Everyone changes their own HKEY_CURRENT_USER; only administrators change the machine's keys.
bool may_change(registry_hive hive) {
    return hive == registry_hive::current_user || is_administrator();
}

result<std::uint32_t> granted_access(registry_hive hive, std::uint32_t requested) {
    const std::uint32_t allowed = may_change(hive) ? key_access::all_access : key_access::read;
    const std::uint32_t access = mapped_access(requested);
    const std::uint32_t wanted = access & ~key_access::maximum_allowed;
    if (wanted & ~allowed)
        return win32_error::access_denied;
    return (access & key_access::maximum_allowed) ? allowed : wanted;
}

key_location location_of(predefined_key root) {
    switch (root) {
    case predefined_key::classes_root:
        return {registry_hive::local_machine, classes_root_path()};
    case predefined_key::current_user:
        return {registry_hive::current_user, {}};
    case predefined_key::local_machine:
        break;
    }
    return {registry_hive::local_machine, {}};
}

key_location location_of(const registry_key& key) {
    return {key.hive(), key.path()};
}

// Separators may repeat or end a sub-key path, as on Windows; a leading one is an error.
result<key_location> location_below(key_location base, std::wstring_view sub_key) {
    if (!sub_key.empty() && sub_key.front() == L'\\')
        return win32_error::bad_pathname;
    std::size_t start = 0;
    while (start < sub_key.size()) {
        std::size_t end = sub_key.find(L'\\', start);
        if (end == std::wstring_view::npos)
            end = sub_key.size();
        if (end > start)
            base.path.emplace_back(sub_key.substr(start, end - start));
        start = end + 1;
    }
    return base;
}

// The hive roots and the key behind HKEY_CLASSES_ROOT are never deleted.
bool is_predefined(const key_location& location) {
    const registry_path& classes = classes_root_path();
    return location.path.empty() ||
           (location.hive == registry_hive::local_machine &&
            std::equal(location.path.begin(), location.path.end(), classes.begin(), classes.end(),
                       [](const std::wstring& a, const std::wstring& b) { return iequals(a, b); }));
}

std::error_code check_handle(const registry_key& key, std::uint32_t needed) {
    if (!key.is_open())
        return make_error_code(win32_error::invalid_handle);
    if ((key.access() & needed) != needed)
        return make_error_code(win32_error::access_denied);
    return {};
}

std::error_code read_key(const registry_key& key, std::uint32_t needed, const read_of_key& read) {
    if (std::error_code error = check_handle(key, needed))
        return error;
    return guarded([&] {
        return read_hive(key.hive(), [&](const registry_node& root) {
            const registry_node* node = find_key(root, key.path());
            return node ? read(*node) : make_error_code(win32_error::key_deleted);
        });
    });
}

std::error_code change_key(const registry_key& key, std::uint32_t needed,
                           const change_of_key& change) {
    if (std::error_code error = check_handle(key, needed))
        return error;
    return guarded([&] {
        return change_hive(key.hive(), [&](registry_node& root) -> result<hive_change> {
            registry_node* node = find_key(root, key.path());
            if (!node)
                return win32_error::key_deleted;
            return change(*node);
        });
    });
}

// The base may be a key of a handle: it must still exist.
std::error_code check_base_exists(const registry_node& root, const key_location& base) {
    return find_key(root, base.path) ? std::error_code()
                                     : make_error_code(win32_error::key_deleted);
}

result<registry_key> open_below(const key_location& base, std::wstring_view sub_key,
                                std::uint32_t access) {
    return guarded([&]() -> result<registry_key> {
        result<key_location> target = location_below(base, sub_key);
        if (!target)
            return target.error();
        const std::error_code error = read_hive(base.hive, [&](const registry_node& root) {
            if (std::error_code missing_base = check_base_exists(root, base))
                return missing_base;
            return find_key(root, target->path) ? std::error_code()
                                                : make_error_code(win32_error::file_not_found);
        });
        if (error)
            return error;
        const result<std::uint32_t> granted = granted_access(base.hive, access);
        if (!granted)
            return granted.error();
        return registry_key_maker::make(base.hive, std::move(target->path), *granted);
    });
}

result<created_key> create_below(const key_location& base, std::wstring_view sub_key,
                                 std::uint32_t access) {
    return guarded([&]() -> result<created_key> {
        result<key_location> target = location_below(base, sub_key);
        if (!target)
            return target.error();
        const result<std::uint32_t> granted = granted_access(base.hive, access);
        if (!granted)
            return granted.error();
        // Opening a key that exists changes nothing, so readers of the machine's keys may do it.
        std::optional<key_disposition> disposition;
        std::error_code error = read_hive(base.hive, [&](const registry_node& root) {
            if (std::error_code missing_base = check_base_exists(root, base))
                return missing_base;
            if (find_key(root, target->path))
                disposition = key_disposition::opened_existing_key;
            return std::error_code();
        });
        if (error)
            return error;
        if (!disposition) {
            if (!may_change(base.hive))
                return win32_error::access_denied;
            error = change_hive(base.hive, [&](registry_node& root) -> result<hive_change> {
                registry_node* node = find_key(root, base.path);
                if (!node)
                    return win32_error::key_deleted;
                disposition = key_disposition::opened_existing_key;
                const std::uint64_t now = filetime_now();
                for (std::size_t i = base.path.size(); i < target->path.size(); ++i) {
                    auto& child = node->subkeys[target->path[i]];
                    if (!child) {
                        child = std::make_unique<registry_node>();
                        child->modified = now;
                        node->modified = now;
                        disposition = key_disposition::created_new_key;
                    }
                    node = child.get();
                }
                return disposition == key_disposition::created_new_key ? hive_change::made
                                                                       : hive_change::none;
            });
            if (error)
                return error;
        }
        return created_key{registry_key_maker::make(base.hive, std::move(target->path), *granted),
                           *disposition};
    });
}

std::error_code delete_below(const key_location& base, std::wstring_view sub_key) {
    return guarded([&]() -> std::error_code {
        const result<key_location> target = location_below(base, sub_key);
        if (!target)
            return target.error();
        if (is_predefined(*target))
            return make_error_code(win32_error::access_denied);
        // The parent of the key to delete, in a tree that may be read-only or not.
        const auto find_parent =
            [&](auto& root) -> result<std::remove_reference_t<decltype(root)>*> {
            if (std::error_code missing_base = check_base_exists(root, base))
                return missing_base;
            const registry_path parent_path(target->path.begin(), target->path.end() - 1);
            auto* parent = find_key(root, parent_path);
            if (!parent || !parent->find_subkey(target->path.back()))
                return win32_error::file_not_found;
            return parent;
        };
        if (!may_change(base.hive)) {
            // As on Windows, a missing key is reported before the denied deletion.
            const std::error_code error = read_hive(
                base.hive, [&](const registry_node& root) { return find_parent(root).error(); });
            return error ? error : make_error_code(win32_error::access_denied);
        }
        return change_hive(base.hive, [&](registry_node& root) -> result<hive_change> {
            const result<registry_node*> parent = find_parent(root);
            if (!parent)
                return parent.error();
            (*parent)->subkeys.erase((*parent)->subkeys.find(target->path.back()));
            (*parent)->modified = filetime_now();
            return hive_change::made;
        });
    });
}

// The header lines of a saved key: those of its hive, with the comment naming the key itself.
std::vector<std::string> saved_key_preamble(const registry_key& key) {
    std::vector<std::string> lines;
    const std::string header = hive_header(key.hive());
    std::size_t start = header.find('\n') + 1;
    while (start < header.size()) {
        const std::size_t end = header.find('\n', start);
        lines.push_back(header.substr(start, end - start));
        start = end + 1;
    }
    for (const std::wstring& component : key.path()) {
        lines.front() += "\\\\";
        append_escaped(lines.front(), to_utf16le(component), escaped_text::key_path);
    }
    return lines;
}

// A file that cannot be found is ERROR_PATH_NOT_FOUND when its folder is missing too.
std::error_code open_error(const std::filesystem::path& file) {
    const int error_number = errno;
    struct stat status {};
    if (error_number == ENOENT && ::stat(file.parent_path().c_str(), &status) != 0)
        return make_error_code(win32_error::path_not_found);
    return error_from_errno(error_number);
}

std::error_code write_new_file(const std::filesystem::path& file, const std::string& text) {
    const registry_fd descriptor(
        ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!descriptor)
        return open_error(file);
    std::error_code error = write_all(descriptor.get(), text);
    if (!error && ::fsync(descriptor.get()) != 0)
        error = last_errno_error();
    if (error)
        ::unlink(file.c_str());
    return error;
}

} // namespace

result<registry_key> open_key(predefined_key root, std::wstring_view sub_key,
                              std::uint32_t access) {
    return open_below(location_of(root), sub_key, access);
}

result<registry_key> open_key(const registry_key& parent, std::wstring_view sub_key,
                              std::uint32_t access) {
    if (std::error_code error = check_handle(parent, 0))
        return error;
    return open_below(location_of(parent), sub_key, access);
}

result<created_key> create_key(predefined_key root, std::wstring_view sub_key,
                               std::uint32_t access) {
    return create_below(location_of(root), sub_key, access);
}

result<created_key> create_key(const registry_key& parent, std::wstring_view sub_key,
                               std::uint32_t access) {
    if (std::error_code error = check_handle(parent, key_access::create_sub_key))
        return error;
    return create_below(location_of(parent), sub_key, access);
}

std::error_code set_value(const registry_key& key, std::wstring_view name, std::uint32_t type,
                          std::string_view bytes) {
    return change_key(key, key_access::set_value, [&](registry_node& node) -> result<hive_change> {
        if (registry_value* existing = node.find_value(name)) {
            existing->type = type;
            existing->bytes = bytes;
        } else {
            node.values.push_back({std::wstring(name), type, std::string(bytes)});
        }
        node.modified = filetime_now();
        return hive_change::made;
    });
}

std::error_code set_string_value(const registry_key& key, std::wstring_view name,
                                 std::wstring_view text, std::uint32_t type) {
    return set_value(key, name, type, to_utf16le(text) + std::string(2, '\0'));
}

std::error_code set_dword_value(const registry_key& key, std::wstring_view name,
                                std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return set_value(key, name, value_type::dword, bytes);
}

result<value_info> query_value_info(const registry_key& key, std::wstring_view name) {
    result<value_data> data = query_value(key, name);
    if (!data)
        return data.error();
    return value_info{data->type, static_cast<std::uint32_t>(data->bytes.size())};
}

result<value_data> query_value(const registry_key& key, std::wstring_view name) {
    std::optional<value_data> data;
    const std::error_code error =
        read_key(key, key_access::query_value, [&](const registry_node& node) {
            const registry_value* value = node.find_value(name);
            if (!value)
                return make_error_code(win32_error::file_not_found);
            data = value_data{value->type, value->bytes};
            return std::error_code();
        });
    if (error)
        return error;
    return std::move(*data);
}

std::error_code delete_value(const registry_key& key, std::wstring_view name) {
    return change_key(key, key_access::set_value, [&](registry_node& node) -> result<hive_change> {
        const registry_value* value = node.find_value(name);
        if (!value)
            return win32_error::file_not_found;
        node.values.erase(node.values.begin() + (value - node.values.data()));
        node.modified = filetime_now();
        return hive_change::made;
    });
}

std::error_code delete_tree(predefined_key root, std::wstring_view sub_key) {
    return delete_below(location_of(root), sub_key);
}

std::error_code delete_tree(const registry_key& parent, std::wstring_view sub_key) {
    if (std::error_code error = check_handle(parent, 0))
        return error;
    return delete_below(location_of(parent), sub_key);
}

result<std::wstring> enum_key(const registry_key& key, std::uint32_t index) {
    std::wstring name;
    const std::error_code error =
        read_key(key, key_access::enumerate_sub_keys, [&](const registry_node& node) {
            if (index >= node.subkeys.size())
                return make_error_code(win32_error::no_more_items);
            name = std::next(node.subkeys.begin(), index)->first;
            return std::error_code();
        });
    if (error)
        return error;
    return name;
}

result<std::wstring> enum_value(const registry_key& key, std::uint32_t index) {
    std::wstring name;
    const std::error_code error =
        read_key(key, key_access::query_value, [&](const registry_node& node) {
            if (index >= node.values.size())
                return make_error_code(win32_error::no_more_items);
            name = node.values[index].name;
            return std::error_code();
        });
    if (error)
        return error;
    return name;
}

std::error_code save_key(const registry_key& key, std::wstring_view file) {
    if (std::error_code error = check_handle(key, 0))
        return error;
    if (!privilege_enabled(privilege::backup))
        return make_error_code(win32_error::privilege_not_held);
    return guarded([&]() -> std::error_code {
        const result<std::filesystem::path> host = host_path(file);
        if (!host)
            return host.error();
        std::string text;
        const std::error_code error = read_key(key, 0, [&](const registry_node& node) {
            text = format_registry_file(saved_key_preamble(key), node);
            return std::error_code();
        });
        return error ? error : write_new_file(*host, text);
    });
}

std::error_code restore_key(const registry_key& key, std::wstring_view file, std::uint32_t flags) {
    if (std::error_code error = check_handle(key, 0))
        return error;
    if (!privilege_enabled(privilege::restore))
        return make_error_code(win32_error::privilege_not_held);
    if (flags & ~restore_flags::force_restore)
        return make_error_code(win32_error::invalid_parameter);
    return guarded([&]() -> std::error_code {
        const result<std::filesystem::path> host = host_path(file);
        if (!host)
            return host.error();
        const registry_fd descriptor(::open(host->c_str(), O_RDONLY | O_CLOEXEC));
        if (!descriptor)
            return open_error(*host);
        const result<std::string> text = read_to_end(descriptor.get());
        if (!text)
            return text.error();
        registry_document saved;
        try {
            saved = parse_registry_file(*text, host->string());
        } catch (const registry_file_error& error) {
            return report_registry_file_error(error);
        }
        return change_key(key, 0, [&](registry_node& node) -> result<hive_change> {
            node.values = std::move(saved.root.values);
            node.subkeys = std::move(saved.root.subkeys);
            node.options = std::move(saved.root.options);
            node.modified = filetime_now();
            return hive_change::made;
        });
    });
}

} // namespace platform::os
