#include "product/data/stock_data.h"

#include "platform/os/unicode.h"
#include "product/data/byte_writer.h"
#include "product/data/pseudo_text.h"
#include "product/data/random_stream.h"
#include "product/data/section_file.h"
#include "product/data/text_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string_view>

namespace product_data {
namespace {

constexpr std::uint16_t stock_format_version = 3;

const language& english() {
    return product_languages()[1];
}

std::string utf8(const std::wstring& text) {
    return platform::os::to_utf8(text);
}

template <std::size_t N>
std::string_view pick(random_stream& random, const std::array<std::string_view, N>& words) {
    return words[random.below(N)];
}

constexpr std::array<std::string_view, 16> shades{
    "Deep",  "Pale", "Warm",  "Cool", "Dusty", "Bright", "Slate", "Signal",
    "Night", "Sand", "Light", "Dark", "Soft",  "Royal",  "Misty", "Burnt"};
constexpr std::array<std::string_view, 16> hues{
    "Blue", "Red",    "Green", "Grey", "Amber", "Olive", "Ochre", "Umber",
    "Teal", "Violet", "Rose",  "Lime", "Cyan",  "Brown", "Gold",  "Indigo"};
constexpr std::array<std::string_view, 12> disciplines{
    "Architecture", "Structure", "Mechanical", "Electrical", "Plumbing",  "Landscape",
    "Survey",       "Interior",  "Fire",       "Civil",      "Furniture", "Annotation"};

std::string header(std::string_view title, pseudo_text& text) {
    return "title=" + std::string(title) +
           "\nproduct=Varnolis 2.32g\nformat=3\ndescription=" + utf8(text.sentence(6, 14)) + "\n";
}

std::string colours(random_stream& random, pseudo_text& text) {
    std::string table;
    for (int i = 0; i < 900; ++i) {
        const std::string_view shade = pick(random, shades);
        const std::string_view hue = pick(random, hues);
        const std::string name =
            std::string(shade) + " " + std::string(hue) + " " + std::to_string(i + 1);
        const unsigned r = random.below(256), g = random.below(256), b = random.below(256);
        table += format("%s;%u;%u;%u;#%02X%02X%02X;%s\n", name.c_str(), r, g, b, r, g, b,
                        utf8(text.phrase(2, 6)).c_str());
    }
    return table;
}

// Outlines of two fonts: per glyph its code, advance and contour points as small steps.
std::string fonts(random_stream& random) {
    byte_writer out;
    for (int font = 0; font < 2; ++font) {
        out.u16(224);
        for (std::uint32_t code = 32; code < 256; ++code) {
            out.u16(code);
            out.u16(random.between(400, 900));
            const int points = random.between(24, 96);
            out.u16(static_cast<std::uint32_t>(points));
            std::int32_t x = random.between(0, 600), y = random.between(0, 700);
            for (int p = 0; p < points; ++p) {
                x += random.between(-40, 40);
                y += random.between(-40, 40);
                out.u16(static_cast<std::uint16_t>(x));
                out.u16(static_cast<std::uint16_t>(y));
                out.u8(random.below(3)); // on the curve, quadratic or cubic control point
            }
        }
    }
    return out.take();
}

std::string symbols(random_stream& random, pseudo_text& text) {
    std::string paths;
    for (int i = 0; i < 260; ++i) {
        paths += "symbol " + utf8(text.phrase(1, 3)) + "\n  path M 0 0";
        for (int segment = random.between(4, 18); segment > 0; --segment) {
            const char* command = random.below(4) == 0 ? "A" : "L";
            const int x = random.between(-50, 50);
            const int y = random.between(-50, 50);
            paths += format(" %s %d %d", command, x, y);
        }
        paths += " Z\n  size " + std::to_string(random.between(3, 12)) + "\n";
    }
    return paths;
}

std::string hatches(random_stream& random, pseudo_text& text) {
    std::string patterns;
    for (int i = 0; i < 300; ++i) {
        patterns += "hatch " + utf8(text.word()) + "-" + std::to_string(i) + "\n";
        for (int line = random.between(1, 4); line > 0; --line) {
            const int angle = 15 * random.between(0, 11);
            const double x = random.unit() * 5;
            const double y = random.unit() * 5;
            const double spacing = 0.5 + random.unit() * 12;
            const double dash = random.unit() * 20;
            const double gap = random.unit() * 4;
            patterns += format("  angle=%d offset=%.3f,%.3f spacing=0,%.3f dashes=%.2f,-%.2f\n",
                               angle, x, y, spacing, dash, gap);
        }
    }
    return patterns;
}

std::string layers(random_stream& random, pseudo_text& text) {
    std::string templates;
    for (std::string_view discipline : disciplines) {
        // Appended piece by piece: g++ 12 wrongly warns of overlapping copies in "[" + s + "]".
        templates.append("[").append(discipline).append("]\n");
        for (int layer = random.between(8, 20); layer > 0; --layer) {
            const std::string name = utf8(text.word());
            const unsigned colour = random.below(256);
            const char* line = random.below(3) == 0 ? "Dashed" : "Continuous";
            const int weight = random.between(13, 70);
            const char* print = random.below(5) == 0 ? "no" : "yes";
            templates += format("%s-%s;colour=%u;line=%s;weight=0.%02d;print=%s\n",
                                std::string(discipline.substr(0, 3)).c_str(), name.c_str(), colour,
                                line, weight, print);
        }
    }
    return templates;
}

std::string materials(random_stream& random, pseudo_text& text) {
    std::string table = "name;density kg/m3;modulus GPa;expansion 1e-6/K;colour;notes\n";
    for (int i = 0; i < 700; ++i) {
        const std::string name = utf8(text.phrase(1, 2));
        const std::string_view hue = pick(random, hues);
        const double density = 400 + random.unit() * 8000;
        const double modulus = random.unit() * 210;
        const double expansion = random.unit() * 30;
        const unsigned colour = random.below(256);
        const std::string notes = utf8(text.sentence(3, 9));
        table += format("%s %s;%.1f;%.2f;%.2f;%u;%s\n", name.c_str(), std::string(hue).c_str(),
                        density, modulus, expansion, colour, notes.c_str());
    }
    return table;
}

// 48 palettes of 256 colours, each a gradient through a few stops with a little grain.
std::string palettes(random_stream& random) {
    byte_writer out;
    for (int palette = 0; palette < 48; ++palette) {
        std::array<std::array<double, 3>, 4> stops{};
        for (auto& stop : stops)
            for (double& channel : stop)
                channel = random.below(256);
        for (int entry = 0; entry < 256; ++entry) {
            const double at = entry / 256.0 * 3;
            const auto from = static_cast<std::size_t>(at);
            const double blend = at - static_cast<double>(from);
            for (int c = 0; c < 3; ++c) {
                const double value = stops[from][c] * (1 - blend) + stops[from + 1][c] * blend +
                                     random.between(-3, 3);
                out.u8(static_cast<std::uint32_t>(std::clamp(value, 0.0, 255.0)));
            }
        }
    }
    return out.take();
}

std::string styles(random_stream& random, pseudo_text& text) {
    std::string ini;
    for (int i = 0; i < 180; ++i) {
        ini.append("[").append(utf8(text.phrase(1, 3))).append("]\n");
        const std::string font = utf8(text.word());
        const double height = 1.8 + random.unit() * 5;
        const char* arrow = random.below(2) ? "closed" : "tick";
        const double arrow_size = 1 + random.unit() * 3;
        const double extension = random.unit() * 2.5;
        const double gap = random.unit() * 1.5;
        const int precision = random.between(0, 4);
        const char* suffix = random.below(2) ? "mm" : "";
        ini += format("font=%s\nheight=%.2f\narrow=%s\narrow_size=%.2f\nextension=%.2f\n"
                      "gap=%.2f\nprecision=%d\nsuffix=%s\n\n",
                      font.c_str(), height, arrow, arrow_size, extension, gap, precision, suffix);
    }
    return ini;
}

std::string frames(random_stream& random, pseudo_text& text) {
    constexpr std::array<std::string_view, 7> sheets{"A4", "A3", "A2", "A1", "A0", "B", "D"};
    std::string definitions;
    for (std::string_view sheet : sheets) {
        for (int variant = 1; variant <= 12; ++variant) {
            definitions += "frame " + std::string(sheet) + "-" + std::to_string(variant) + "\n";
            for (int field = random.between(10, 24); field > 0; --field) {
                const std::string name = utf8(text.phrase(1, 2));
                const int x = random.between(0, 180);
                const int y = random.between(0, 60);
                const int width = random.between(15, 90);
                definitions += format("  field %s at %d,%d width %d\n", name.c_str(), x, y, width);
            }
        }
    }
    return definitions;
}

// Seamless tiles of 64 x 64 pixels: a smoothed noise field per channel.
std::string textures(random_stream& random) {
    constexpr int side = 64;
    byte_writer out;
    for (int tile = 0; tile < 13; ++tile) {
        for (int y = 0; y < side; ++y) {
            int level = random.between(60, 200);
            for (int x = 0; x < side * 3; ++x) {
                level = std::clamp(level + random.between(-24, 24), 0, 255);
                out.u8(static_cast<std::uint32_t>(level));
            }
        }
    }
    return out.take();
}

std::string units(random_stream& random) {
    constexpr std::array<std::pair<std::string_view, double>, 16> lengths{{
        {"millimetre", 0.001},
        {"centimetre", 0.01},
        {"decimetre", 0.1},
        {"metre", 1},
        {"kilometre", 1000},
        {"inch", 0.0254},
        {"foot", 0.3048},
        {"yard", 0.9144},
        {"mile", 1609.344},
        {"point", 0.0254 / 72},
        {"pica", 0.0254 / 6},
        {"micrometre", 1e-6},
        {"nautical mile", 1852},
        {"chain", 20.1168},
        {"rod", 5.0292},
        {"link", 0.201168},
    }};
    std::string table;
    for (const auto& [from, from_metres] : lengths)
        for (const auto& [to, to_metres] : lengths)
            table += format("%s -> %s = %.12g (rounding %d)\n", std::string(from).c_str(),
                            std::string(to).c_str(), from_metres / to_metres, random.between(0, 6));
    return table;
}

using text_maker = std::function<std::string(random_stream&, pseudo_text&)>;
using binary_maker = std::function<std::string(random_stream&)>;

// A file: its information section, then its text or binary content.
data_file stock_file(std::string_view title, const text_maker& text_content,
                     const binary_maker& binary_content) {
    const std::string name = std::string(title) + ".vdat";
    random_stream random(name);
    pseudo_text text(english(), random);
    section_file file("VDAT", stock_format_version);
    file.add("INFO", header(title, text));
    if (text_content)
        file.add("TEXT", text_content(random, text));
    if (binary_content)
        file.add("DATA", binary_content(random));
    return {name, file.take()};
}

} // namespace

std::vector<data_file> stock_data_files() {
    // The maker's logo for the title blocks, an already compressed picture.
    const auto logo = [](random_stream& random) { return random.bytes(30 * 1024); };
    const auto units_text = [](random_stream& random, pseudo_text&) { return units(random); };
    return {
        stock_file("Colours", colours, {}),     stock_file("Fonts", {}, fonts),
        stock_file("GDT Symbols", symbols, {}), stock_file("Hatches", hatches, {}),
        stock_file("Layers", layers, {}),       stock_file("Materials", materials, {}),
        stock_file("Palettes", {}, palettes),   stock_file("Styles", styles, {}),
        stock_file("Templates", frames, logo),  stock_file("Textures", {}, textures),
        stock_file("Units", units_text, {}),
    };
}

} // namespace product_data
