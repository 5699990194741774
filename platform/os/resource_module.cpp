#include "platform/os/resource_module.h"

#include "platform/os/unicode.h"

namespace platform::os {
namespace {

constexpr std::uint16_t primary_language(std::uint16_t language) {
    return language & 0x3FF;
}

// FindResourceW's order without a language: neutral first, then English, then the first.
int preference(std::uint16_t language) {
    constexpr std::uint16_t english = 0x09;
    constexpr std::uint16_t english_us = 0x0409;
    if (language == 0)
        return 0;
    if (primary_language(language) == 0)
        return 1;
    if (language == english_us)
        return 2;
    if (primary_language(language) == english)
        return 3;
    return 4;
}

} // namespace

resource_module::key resource_module::key_of(const resource_id& id) {
    if (const auto* ordinal = id.ordinal())
        return *ordinal;
    return to_upper(*id.name());
}

std::span<const std::byte> resource_module::keep(std::vector<std::byte> bytes) {
    return storage_.emplace_back(std::move(bytes));
}

void resource_module::add(const resource_id& type, const resource_id& name, std::uint16_t language,
                          std::span<const std::byte> data) {
    index_[key_of(type)][key_of(name)].emplace(language, data);
}

std::optional<std::span<const std::byte>>
resource_module::find(const resource_id& type, const resource_id& name,
                      std::optional<std::uint16_t> language) const {
    const auto names = index_.find(key_of(type));
    if (names == index_.end())
        return std::nullopt;
    const auto entries = names->second.find(key_of(name));
    if (entries == names->second.end())
        return std::nullopt;
    const languages& by_language = entries->second;
    if (language) {
        const auto exact = by_language.find(*language);
        if (exact == by_language.end())
            return std::nullopt;
        return exact->second;
    }
    // The map is never empty: an entry exists only with a language.
    auto best = by_language.begin();
    for (auto it = by_language.begin(); it != by_language.end(); ++it) {
        if (preference(it->first) < preference(best->first))
            best = it;
    }
    return best->second;
}

} // namespace platform::os
