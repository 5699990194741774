#include "wizard/name_characters.h"

#include "platform/os/shell_path.h"

#include <algorithm>

namespace qv {

namespace os = platform::os;

bool only_name_characters(std::wstring_view text) {
    return std::ranges::all_of(text, [](wchar_t c) {
        const std::uint32_t type = os::path_get_char_type(c);
        return type != os::gct::invalid && !(type & os::gct::wild);
    });
}

} // namespace qv
