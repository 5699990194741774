#include "platform/os/registry_tree.h"

#include "platform/os/unicode.h"

#include <ctime>

namespace platform::os {
namespace {

constexpr std::uint64_t filetime_ticks_per_second = 10'000'000;
constexpr std::uint64_t unix_epoch_as_filetime = 116'444'736'000'000'000;

// The upper-cased UTF-16 code units of a name, one at a time.
class upper_utf16_units {
public:
    explicit upper_utf16_units(std::wstring_view name) : name_(name) {}

    bool next(char16_t& unit) {
        if (pending_ != 0) {
            unit = pending_;
            pending_ = 0;
            return true;
        }
        if (position_ == name_.size())
            return false;
        const auto c = static_cast<char32_t>(to_upper(name_[position_++]));
        if (c >= 0x10000 && c <= 0x10FFFF) {
            unit = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            pending_ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            unit = static_cast<char16_t>(c);
        }
        return true;
    }

private:
    std::wstring_view name_;
    std::size_t position_ = 0;
    char16_t pending_ = 0;
};

template <class Values> auto* find_named(Values& values, std::wstring_view name) {
    for (auto& value : values) {
        if (iequals(value.name, name))
            return &value;
    }
    return static_cast<decltype(&values.front())>(nullptr);
}

template <class Node> Node* walk(Node& root, const registry_path& path) {
    Node* node = &root;
    for (const std::wstring& component : path) {
        node = node->find_subkey(component);
        if (!node)
            return nullptr;
    }
    return node;
}

} // namespace

int compare_key_names(std::wstring_view a, std::wstring_view b) {
    upper_utf16_units left(a);
    upper_utf16_units right(b);
    for (;;) {
        char16_t l = 0;
        char16_t r = 0;
        const bool has_left = left.next(l);
        const bool has_right = right.next(r);
        if (!has_left || !has_right)
            return has_left ? 1 : has_right ? -1 : 0;
        if (l != r)
            return l < r ? -1 : 1;
    }
}

registry_value* registry_node::find_value(std::wstring_view name) {
    return find_named(values, name);
}

const registry_value* registry_node::find_value(std::wstring_view name) const {
    return find_named(values, name);
}

registry_node* registry_node::find_subkey(std::wstring_view name) {
    const auto found = subkeys.find(name);
    return found == subkeys.end() ? nullptr : found->second.get();
}

const registry_node* registry_node::find_subkey(std::wstring_view name) const {
    const auto found = subkeys.find(name);
    return found == subkeys.end() ? nullptr : found->second.get();
}

registry_node* find_key(registry_node& root, const registry_path& path) {
    return walk(root, path);
}

const registry_node* find_key(const registry_node& root, const registry_path& path) {
    return walk(root, path);
}

std::uint64_t filetime_now() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return filetime_from_unix_seconds(static_cast<std::uint64_t>(now.tv_sec)) +
           static_cast<std::uint64_t>(now.tv_nsec) / 100;
}

std::uint64_t filetime_from_unix_seconds(std::uint64_t seconds) {
    return seconds * filetime_ticks_per_second + unix_epoch_as_filetime;
}

std::uint64_t unix_seconds_from_filetime(std::uint64_t filetime) {
    return filetime < unix_epoch_as_filetime
               ? 0
               : (filetime - unix_epoch_as_filetime) / filetime_ticks_per_second;
}

} // namespace platform::os
