#include "tests/support/temp_machine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

namespace qv_test {
namespace fs = std::filesystem;

temp_machine::temp_machine() {
    // Other users (the non-administrator tests) must reach the machine.
    ::chmod(parent_.path().c_str(), 0755);
    root_ = parent_.path() / "machine";
    ::setenv("QV_MACHINE", root_.c_str(), 1);
}

fs::path temp_machine::drive_c(const fs::path& relative) const {
    return relative.empty() ? root_ / "drive_c" : root_ / "drive_c" / relative;
}

std::string read_host_file(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void write_host_file(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

} // namespace qv_test
