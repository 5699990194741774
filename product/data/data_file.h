#pragma once
// A generated file: its name and its bytes.

#include <string>

namespace product_data {

struct data_file {
    std::string name;
    std::string content;
};

} // namespace product_data
