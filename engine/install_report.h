#pragma once
// The texts and numbers the install page reports with: the rule of dashes of its log, the
// percentage of its progress bar and the error text of a failed extraction.

#include "platform/ui/text_metrics.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace qv {

// A line as wide as available_width pixels: the text between blanks, centred between dashes
// (the odd dash on the right), or only dashes for an empty text; "\r\n" ends it. A text wider
// than the line gets no dashes.
std::wstring full_width_line(std::wstring_view text, int available_width,
                             const platform::ui::text_metrics& metrics);

// Whole percent, rounded; 100 only once everything is done, so that a bar at its end means
// finished. Nothing to do counts as 0.
int progress_percent(std::uint64_t done, std::uint64_t total);

// "1:%08X" for a Windows code, "2:%08X" for a generic one, the payload's own codes in decimal,
// "7" for any other.
std::wstring failure_error_text(const std::error_code& code);

} // namespace qv
