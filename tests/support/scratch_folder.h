#pragma once
// A fresh folder of the test's own under the system's temporary folder, removed with all it holds
// when the object goes, read-only files and folders included.

#include <filesystem>
#include <string_view>

namespace qv_test {

class scratch_folder {
public:
    // The folder's name is `prefix` followed by six random characters.
    explicit scratch_folder(std::string_view prefix);
    ~scratch_folder();
    scratch_folder(const scratch_folder&) = delete;
    scratch_folder& operator=(const scratch_folder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace qv_test
