#include "tests/support/scratch_folder.h"

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace qv_test {
namespace fs = std::filesystem;

scratch_folder::scratch_folder(std::string_view prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

scratch_folder::~scratch_folder() {
    // Read-only files and folders must not stop the clean-up.
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

} // namespace qv_test
