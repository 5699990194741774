#pragma once
// The stock data the product shares between all users ("<CommonData>\Quorvane\Varnolis 2"):
// colours, fonts, symbols, hatches, layers, materials, palettes, styles, drawing templates,
// textures and units, each a ".vdat" file.

#include "product/data/data_file.h"

#include <vector>

namespace product_data {

// The eleven files, sorted by name.
std::vector<data_file> stock_data_files();

} // namespace product_data
