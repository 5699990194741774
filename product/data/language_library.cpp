#include "product/data/language_library.h"

#include "platform/os/unicode.h"
#include "product/data/byte_writer.h"
#include "product/data/pseudo_text.h"
#include "product/data/random_stream.h"
#include "product/data/resource_dll.h"
#include "product/data/version_block.h"

#include <map>
#include <vector>

namespace product_data {
namespace {

constexpr std::uint32_t strings_per_block = 16;
constexpr std::uint32_t first_interface_string = 16;

// An interface text: a menu entry, a button, a tooltip or a message with its insertions.
std::wstring interface_text(pseudo_text& text, random_stream& random) {
    // Each draw in a statement of its own: the order of the draws makes the bytes.
    switch (random.below(8)) {
    case 0: {
        const std::wstring entry = text.phrase(1, 3);
        return L"&" + entry + (random.below(3) == 0 ? L"..." : L"");
    }
    case 1:
    case 2:
        return text.phrase(1, 3);
    case 3:
    case 4:
        return text.phrase(3, 9);
    case 5:
        return text.sentence(5, 12) + L" \"%1\"";
    case 6: {
        const std::wstring first = text.sentence(4, 10);
        return first + L" " + text.sentence(6, 14);
    }
    default:
        return text.sentence(6, 16);
    }
}

// STRINGTABLE blocks: 16 counted UTF-16 strings each, block n holding ids 16(n-1) to 16n-1.
std::vector<dll_resource> string_tables(const std::map<std::uint32_t, std::wstring>& strings,
                                        std::uint16_t language) {
    std::map<std::uint32_t, std::map<std::uint32_t, const std::wstring*>> blocks;
    for (const auto& [id, text] : strings)
        blocks[id / strings_per_block + 1][id % strings_per_block] = &text;
    std::vector<dll_resource> tables;
    for (const auto& [block, slots] : blocks) {
        byte_writer out;
        for (std::uint32_t slot = 0; slot < strings_per_block; ++slot) {
            const auto found = slots.find(slot);
            const std::string units =
                found == slots.end() ? std::string() : platform::os::to_utf16le(*found->second);
            out.u16(static_cast<std::uint32_t>(units.size() / 2));
            out.raw(units);
        }
        tables.push_back(
            {resource_types::string, static_cast<std::uint16_t>(block), language, out.take()});
    }
    return tables;
}

// The toolbar and dialog pictures: 32-bit pixels of flat areas with dithered edges, packed.
std::string picture_strip(random_stream& random) {
    std::string pixels;
    while (pixels.size() < 40 * 1024) {
        if (random.below(4) == 0) {
            pixels += random.bytes(4 * random.between(16, 96));
        } else {
            const std::string colour = random.bytes(3) + '\xFF';
            for (int run = random.between(4, 48); run > 0; --run)
                pixels += colour;
        }
    }
    return pixels;
}

} // namespace

std::string language_library_name(const language& language) {
    return "Varnolis." + std::string(language.code) + ".dll";
}

std::string language_library(const language& language) {
    random_stream random(language_library_name(language));
    pseudo_text text(language, random);

    std::map<std::uint32_t, std::wstring> strings{
        {1, std::wstring(language.native_name)},
        {2, std::wstring(language.english_name)},
        {3, platform::os::from_utf8(language.code)},
    };
    const std::uint32_t count = 1100 + random.below(400);
    for (std::uint32_t id = first_interface_string; id < first_interface_string + count; ++id)
        strings[id] = interface_text(text, random);

    const std::wstring code = platform::os::from_utf8(language.code);
    const version_description version{
        {2, 32, 7, 1},
        {2, 32, 7, 1},
        language.lang_id,
        {
            {L"CompanyName", L"Quorvane"},
            {L"FileDescription",
             L"Varnolis " + std::wstring(language.english_name) + L" interface"},
            {L"FileVersion", L"2.32.7.1"},
            {L"InternalName", L"Varnolis." + code},
            {L"LegalCopyright", L"Copyright \u00a9 Quorvane. All rights reserved."},
            {L"OriginalFilename", L"Varnolis." + code + L".dll"},
            {L"ProductName", L"Varnolis"},
            {L"ProductVersion", L"2.32g"},
        },
    };

    constexpr std::uint16_t version_id = 1;
    constexpr std::uint16_t pictures_id = 101;
    std::vector<dll_resource> resources{
        {resource_types::version, version_id, language.lang_id, version_block(version)},
        {resource_types::rcdata, pictures_id, language.lang_id, picture_strip(random)},
    };
    for (dll_resource& table : string_tables(strings, language.lang_id))
        resources.push_back(std::move(table));
    return resource_dll(resources);
}

} // namespace product_data
