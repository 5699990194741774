// qvpack: the maintainer's payload packer.
//
//   qvpack pack MANIFEST OUT   packs the manifest's files into the compressed archive OUT
//   qvpack list IN             prints the archive's header and entry table
//   qvpack verify IN           decompresses and checks the whole archive
//
// Exit codes: 0 success, 1 bad input or an archive that fails its check, 2 wrong usage.

#include "tools/qvpack/archive_reading.h"
#include "tools/qvpack/manifest.h"
#include "tools/qvpack/packer.h"
#include "tools/qvpack/tool_error.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace {

constexpr int exit_failure = 1;
constexpr int exit_usage = 2;

const char* const usage = "usage: qvpack pack MANIFEST OUT\n"
                          "       qvpack list IN\n"
                          "       qvpack verify IN\n"
                          "       qvpack --help\n";

void print_help() {
    std::cout << usage << '\n'
              << "  pack    packs the files a manifest lists into a payload archive: one bzip2\n"
                 "          stream (900 k blocks) holding the header, the entry table and the\n"
                 "          contents back to back. OUT appears only when it is complete.\n"
                 "  list    prints the header and the table: number, kind, size, CRC-32,\n"
                 "          destination and file name of every entry.\n"
                 "  verify  decompresses the archive and checks its layout, its length and every\n"
                 "          entry's CRC-32; prints what is wrong.\n\n"
              << qvpack::manifest_syntax;
}

int run(const std::vector<std::string_view>& arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        print_help();
        return 0;
    }
    if (arguments.size() == 3 && arguments[0] == "pack") {
        qvpack::pack(qvpack::read_manifest(arguments[1]), arguments[2]);
        return 0;
    }
    if (arguments.size() == 2 && arguments[0] == "list") {
        qvpack::list_archive(arguments[1], std::cout);
        return 0;
    }
    if (arguments.size() == 2 && arguments[0] == "verify")
        return qvpack::verify_archive(arguments[1], std::cout, std::cerr) ? 0 : exit_failure;
    std::cerr << usage;
    return exit_usage;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string_view>(argv + 1, argv + argc));
    } catch (const qvpack::tool_error& error) {
        std::cerr << "qvpack: " << error.what() << '\n';
    } catch (const std::exception& error) {
        std::cerr << "qvpack: unexpected failure: " << error.what() << '\n';
    }
    return exit_failure;
}
