#pragma once
// Messages of the installer with their insertion filled in.

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Message n in the current language with every "%1" replaced by the argument.
std::wstring localized_text(std::uint32_t n, std::wstring_view argument);

} // namespace qv
