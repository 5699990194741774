#pragma once
// The text of the uninstall log: six header lines, then one line per record, each ending with
// CR LF. Numbers are written the same way whatever the user's locale.

#include "engine/uninstall_log.h"

#include <cstddef>
#include <list>
#include <string>
#include <string_view>

namespace qv {

struct log_header {
    // The product's display name ("Varnolis 2.32g").
    std::wstring_view product;
    // The earlier log's product, empty after a fresh installation.
    std::wstring_view previous_product;
    std::wstring_view install_folder;
    std::wstring_view shortcut_folder;
};

// "0012:0101:1 -- C:\...\Varnolis.exe": the position from 0 in at least four decimal digits,
// (kind & 0xFF) * 256 + (entry kind & 0xFF) in at least four lower-case hexadecimal digits, the
// done flag and the path, without line end.
std::wstring record_line(std::size_t position, const log_record& record);

std::wstring log_text(const log_header& header, const std::list<log_record>& records);

} // namespace qv
