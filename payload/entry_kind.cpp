#include "payload/entry_kind.h"

#include <array>

namespace qv {
namespace {

constexpr std::array<std::string_view, 6> names = {
    "program_file", "main_program", "uninstaller", "shared_data", "sample", "temporary",
};

} // namespace

std::optional<std::string_view> entry_kind_name(std::uint32_t value) {
    if (value >= names.size())
        return std::nullopt;
    return names[value];
}

std::optional<entry_kind> entry_kind_from_name(std::string_view name) {
    for (std::size_t value = 0; value < names.size(); ++value) {
        if (names[value] == name)
            return static_cast<entry_kind>(value);
    }
    return std::nullopt;
}

} // namespace qv
