#include "product/data/sample_documents.h"

#include "platform/os/unicode.h"
#include "product/data/byte_writer.h"
#include "product/data/pseudo_text.h"
#include "product/data/random_stream.h"
#include "product/data/section_file.h"
#include "product/data/text_format.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace product_data {
namespace {

constexpr std::uint16_t document_format_version = 2;

struct sample {
    std::string_view title;
    std::string_view scale;
    int entities;
};

constexpr std::array<sample, 12> samples{{
    {"Arch Bridge", "1:200", 450},
    {"Clock Tower", "1:50", 350},
    {"Garden Plan", "1:100", 550},
    {"Gear Train", "2:1", 300},
    {"Harbour Crane", "1:100", 400},
    {"Kitchen Layout", "1:20", 325},
    {"Lighthouse", "1:50", 250},
    {"Office Floor", "1:100", 600},
    {"Pump Station", "1:50", 375},
    {"Roof Truss", "1:20", 275},
    {"Spiral Stair", "1:10", 300},
    {"Water Mill", "1:50", 425},
}};

constexpr std::array<std::string_view, 6> layer_names{"Outline",    "Hidden",   "Centre",
                                                      "Dimensions", "Hatching", "Notes"};

std::string header(const sample& document, pseudo_text& text) {
    return "title=" + std::string(document.title) +
           "\nauthor=Quorvane\nscale=" + std::string(document.scale) +
           "\nunits=mm\nsheet=A3\nsaved_by=Varnolis 2.32g\n" +
           "comment=" + platform::os::to_utf8(text.sentence(8, 20)) + "\n";
}

// A 120 x 90 preview: soft shading with the drawing's lines as dark specks.
std::string preview(random_stream& random) {
    constexpr int width = 120, height = 90;
    byte_writer out;
    out.u16(width);
    out.u16(height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int shade = 235 - (x + y) / 8;
            const int speck = random.below(5) == 0 ? random.between(60, 200) : 0;
            const int noise = random.between(-6, 6);
            const auto value =
                static_cast<std::uint32_t>(std::clamp(shade - speck + noise, 0, 255));
            out.u8(value);
            out.u8(value);
            out.u8(value);
        }
    }
    return out.take();
}

// One entity line: its kind, layer and coordinates, text for the notes.
std::string entity(random_stream& random, pseudo_text& text, int index) {
    const std::string_view layer = layer_names[random.below(layer_names.size())];
    const double x = random.unit() * 4000;
    const double y = random.unit() * 3000;
    switch (random.below(6)) {
    case 0: {
        const double radius = 5 + random.unit() * 400;
        return format("%d CIRCLE layer=%s centre=%.3f,%.3f radius=%.3f\n", index,
                      std::string(layer).c_str(), x, y, radius);
    }
    case 1: {
        const double radius = 5 + random.unit() * 400;
        const int start = random.between(0, 359);
        const int sweep = random.between(10, 350);
        return format("%d ARC layer=%s centre=%.3f,%.3f radius=%.3f start=%d sweep=%d\n", index,
                      std::string(layer).c_str(), x, y, radius, start, sweep);
    }
    case 2: {
        const std::string note = platform::os::to_utf8(text.sentence(3, 12));
        const double height = 2.5 * random.between(1, 4);
        return format("%d TEXT layer=Notes at=%.3f,%.3f height=%.1f \"%s\"\n", index, x, y, height,
                      note.c_str());
    }
    case 3: {
        const double length = random.unit() * 2000;
        return format("%d DIMENSION layer=Dimensions from=%.3f,%.3f to=%.3f,%.3f value=%.1f\n",
                      index, x, y, x + length, y, length);
    }
    default: {
        const double dx = random.unit() * 800 - 400;
        const double dy = random.unit() * 800 - 400;
        return format("%d LINE layer=%s from=%.3f,%.3f to=%.3f,%.3f\n", index,
                      std::string(layer).c_str(), x, y, x + dx, y + dy);
    }
    }
}

// The polylines' vertices as 32-bit floats: walks of small steps, as traced outlines are.
std::string geometry(random_stream& random, int entities) {
    byte_writer out;
    const int polylines = entities / 12;
    out.u32(static_cast<std::uint32_t>(polylines));
    for (int polyline = 0; polyline < polylines; ++polyline) {
        const int vertices = random.between(40, 160);
        out.u32(static_cast<std::uint32_t>(vertices));
        float x = static_cast<float>(random.unit() * 4000);
        float y = static_cast<float>(random.unit() * 3000);
        for (int vertex = 0; vertex < vertices; ++vertex) {
            x += static_cast<float>(random.unit() * 20 - 10);
            y += static_cast<float>(random.unit() * 20 - 10);
            out.f32(x);
            out.f32(y);
        }
    }
    return out.take();
}

data_file document(const sample& document) {
    const std::string name = std::string(document.title) + ".vnl";
    random_stream random(name);
    pseudo_text text(product_languages()[1], random);
    section_file file("VNL\x1A", document_format_version);
    file.add("HEAD", header(document, text));
    file.add("PREV", preview(random));
    std::string entities;
    for (int index = 1; index <= document.entities; ++index)
        entities += entity(random, text, index);
    file.add("ENTS", entities);
    file.add("GEOM", geometry(random, document.entities));
    return {name, file.take()};
}

} // namespace

std::vector<data_file> sample_documents() {
    std::vector<data_file> documents;
    for (const sample& entry : samples)
        documents.push_back(document(entry));
    return documents;
}

} // namespace product_data
