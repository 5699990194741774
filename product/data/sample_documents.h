#pragma once
// The sample drawings installed for the user ("<SamplePath>"): Varnolis documents (".vnl") with
// their header, a preview picture, the drawing's entities as text and its geometry as numbers.

#include "product/data/data_file.h"

#include <vector>

namespace product_data {

// The twelve documents, sorted by name.
std::vector<data_file> sample_documents();

} // namespace product_data
