#pragma once
// The nine languages the product's interface libraries are made for, and what makes text in each
// of them look like that language: its letters as syllable parts.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace product_data {

struct language {
    std::string_view code;         // "de": the library is "Varnolis.de.dll"
    std::uint16_t lang_id;         // Windows language identifier of its resources
    std::wstring_view native_name; // "Deutsch"
    std::wstring_view english_name;
    std::vector<std::wstring_view> onsets;
    std::vector<std::wstring_view> vowels;
    std::vector<std::wstring_view> codas;
};

// In the payload's order: de, en, es, hu, it, pl, pt, ro, tk.
std::span<const language> product_languages();

} // namespace product_data
