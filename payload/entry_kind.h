#pragma once
// What the install sequence does with a payload entry's file.

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// Values above temporary are treated like program_file by the install sequence.
enum class entry_kind : std::uint32_t {
    program_file = 0,
    main_program = 1,
    uninstaller = 2,
    shared_data = 3,
    sample = 4,
    temporary = 5,
};

// "program_file", "main_program", ...; none for values without a name.
std::optional<std::string_view> entry_kind_name(std::uint32_t value);
std::optional<entry_kind> entry_kind_from_name(std::string_view name);

} // namespace qv
