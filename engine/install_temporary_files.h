#pragma once
// The temporary files of one installation run: the payload's temporary entries and the folder
// they were written to, removed when the run ends.

#include <string>
#include <vector>

namespace qv {

class temporary_files {
public:
    explicit temporary_files(std::wstring temporary_folder);
    // Removes every file, then the folder when it is empty; failures are ignored.
    ~temporary_files();
    temporary_files(const temporary_files&) = delete;
    temporary_files& operator=(const temporary_files&) = delete;

    // The run's object while it lives, so that the extraction's handler can add to it; none
    // outside a run.
    static temporary_files* current();

    const std::wstring& folder() const { return folder_; }
    const std::vector<std::wstring>& files() const { return files_; }
    void add(std::wstring path) { files_.push_back(std::move(path)); }

private:
    std::wstring folder_;
    std::vector<std::wstring> files_;
    temporary_files* previous_;
};

} // namespace qv
