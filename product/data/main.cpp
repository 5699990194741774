// Writes the payload's data files and its manifest:
//   qv_product_data <data folder> <manifest file> <main program> [<uninstaller>]
// The same arguments give the same bytes on every run.

#include "product/data/data_file.h"
#include "product/data/language_library.h"
#include "product/data/languages.h"
#include "product/data/payload_manifest.h"
#include "product/data/sample_documents.h"
#include "product/data/stock_data.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;
using namespace product_data;

void write_file(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<fs::path> write_files(const fs::path& folder, const std::vector<data_file>& files) {
    std::vector<fs::path> written;
    for (const data_file& file : files) {
        written.push_back(folder / file.name);
        write_file(written.back(), file.content);
    }
    return written;
}

void generate(std::span<char*> arguments) {
    const fs::path folder = fs::absolute(arguments[0]);
    const fs::path manifest = arguments[1];
    fs::create_directories(folder);

    payload_sources sources;
    sources.samples = write_files(folder, sample_documents());
    sources.stock_data = write_files(folder, stock_data_files());
    for (const language& language : product_languages()) {
        sources.language_libraries.push_back(folder / language_library_name(language));
        write_file(sources.language_libraries.back(), language_library(language));
    }
    sources.main_program = fs::absolute(arguments[2]);
    if (arguments.size() > 3)
        sources.uninstaller = fs::absolute(arguments[3]);
    write_file(manifest, manifest_text(payload_entries(sources)));
}

} // namespace

int main(int argc, char** argv) {
    const std::span<char*> arguments(argv + 1, static_cast<std::size_t>(argc - 1));
    if (arguments.size() < 3 || arguments.size() > 4) {
        std::cerr << "usage: qv_product_data <data folder> <manifest file> <main program> "
                     "[<uninstaller>]\n";
        return 2;
    }
    try {
        generate(arguments);
    } catch (const std::exception& failure) {
        std::cerr << "qv_product_data: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
