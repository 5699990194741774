#pragma once
// How the earlier log's records join this run's before the log is written.

#include "engine/uninstall_log.h"

#include <list>

namespace qv {

// Takes the earlier records from the last to the first: one is dropped when current already
// holds a record of its kind that supersedes it (any record of a link, key or registration
// kind; for folders and files one naming the same entry), else it goes to the front. current
// ends as the earlier records kept, in their order, then its own; earlier ends empty.
void merge_records(std::list<log_record>& earlier, std::list<log_record>& current);

} // namespace qv
