#pragma once
// A module's resources as an index type -> name -> language -> bytes, with the storage the bytes
// live in when they were read from a file.

#include "platform/os/resources.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace platform::os {

class resource_module {
public:
    resource_module() = default;
    resource_module(const resource_module&) = delete;
    resource_module& operator=(const resource_module&) = delete;
    resource_module(resource_module&&) = default;
    resource_module& operator=(resource_module&&) = default;

    // Holds bytes for the module's lifetime; the returned view stays valid as long.
    std::span<const std::byte> keep(std::vector<std::byte> bytes);

    // A second entry with the same type, name and language is ignored, as the first one is what
    // Windows finds.
    void add(const resource_id& type, const resource_id& name, std::uint16_t language,
             std::span<const std::byte> data);

    std::optional<std::span<const std::byte>> find(const resource_id& type, const resource_id& name,
                                                   std::optional<std::uint16_t> language) const;

    bool empty() const { return index_.empty(); }

private:
    // Ordinals as they are, names in upper case so that they compare without case.
    using key = std::variant<std::uint16_t, std::wstring>;
    static key key_of(const resource_id& id);

    using languages = std::map<std::uint16_t, std::span<const std::byte>>;
    std::map<key, std::map<key, languages>> index_;
    std::deque<std::vector<std::byte>> storage_;
};

} // namespace platform::os
