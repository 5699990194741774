#pragma once
// An interface library of the product ("Varnolis.de.dll"): a resource-only DLL with the
// language's version resource, its string tables and the interface's pictures.

#include "product/data/languages.h"

#include <string>

namespace product_data {

// "Varnolis.<code>.dll"
std::string language_library_name(const language& language);

// String 1 is the language's native name, 2 its English name, 3 its code; the interface's
// texts follow from 16 on.
std::string language_library(const language& language);

} // namespace product_data
