#pragma once
// A machine folder of its own for one test, removed afterwards.

#include "tests/support/scratch_folder.h"

#include <filesystem>
#include <string>

namespace qv_test {

class temp_machine {
public:
    // Makes a fresh folder under the system's temporary folder and points QV_MACHINE at it.
    // The layout itself is made by the first operation that needs the machine.
    temp_machine();
    temp_machine(const temp_machine&) = delete;
    temp_machine& operator=(const temp_machine&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // <root>/drive_c/<relative>
    std::filesystem::path drive_c(const std::filesystem::path& relative = {}) const;

private:
    scratch_folder parent_{"qv-test-"};
    std::filesystem::path root_;
};

// Whole content of a host file, as bytes.
std::string read_host_file(const std::filesystem::path& file);
void write_host_file(const std::filesystem::path& file, const std::string& bytes);

} // namespace qv_test
