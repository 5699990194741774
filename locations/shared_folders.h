#pragma once
// The folders below the all-users locations that an extraction opens up to every local user.

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

struct shared_folder {
    std::wstring folder;
    // Set once the folder has been opened up.
    bool granted = false;
};

// Records in the order the folders were met, without two that name the same folder.
class shared_folder_list {
public:
    // Adds the folder unless a record already names it (same_path); true when added.
    bool add(std::wstring folder);

    auto begin() { return records_.begin(); }
    auto end() { return records_.end(); }
    auto begin() const { return records_.begin(); }
    auto end() const { return records_.end(); }
    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }

private:
    std::vector<shared_folder> records_;
};

} // namespace qv
