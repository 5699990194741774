#include "engine/log_merge.h"

#include "locations/same_path.h"

#include <algorithm>

namespace qv {
namespace {

bool supersedes(const log_record& later, const log_record& earlier) {
    if (later.kind != earlier.kind)
        return false;
    if (earlier.kind == log_record_kind::folder || earlier.kind == log_record_kind::file)
        return same_path(later.path, earlier.path);
    return true;
}

} // namespace

void merge_records(std::list<log_record>& earlier, std::list<log_record>& current) {
    while (!earlier.empty()) {
        log_record record = std::move(earlier.back());
        earlier.pop_back();
        const bool superseded = std::ranges::any_of(
            current, [&](const log_record& later) { return supersedes(later, record); });
        if (!superseded)
            current.push_front(std::move(record));
    }
}

} // namespace qv
