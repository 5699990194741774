#pragma once
// printf into a string, for the generated text formats: numbers always in the C locale, which
// the generator never changes, as the product writes them.

#include <cstdio>
#include <string>

namespace product_data {

template <class... Arguments> std::string format(const char* pattern, Arguments... arguments) {
    const int length = std::snprintf(nullptr, 0, pattern, arguments...);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), pattern, arguments...);
    text.pop_back();
    return text;
}

} // namespace product_data
