#include "locations/shared_folders.h"

#include "locations/same_path.h"

#include <algorithm>
#include <utility>

namespace qv {

bool shared_folder_list::add(std::wstring folder) {
    const bool known = std::ranges::any_of(
        records_, [&](const shared_folder& record) { return same_path(record.folder, folder); });
    if (known)
        return false;
    records_.push_back({std::move(folder), false});
    return true;
}

} // namespace qv
