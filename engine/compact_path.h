#pragma once
// Shortening a path to a width in pixels, as PathSetDlgItemPathW does for a control.

#include "platform/ui/text_metrics.h"

#include <string>
#include <string_view>

namespace qv {

// The path as it is when it fits; else its start up to where "..." and the last component
// ("\name") still fit; else the last component's start followed by "...".
std::wstring compact_path(std::wstring_view path, int width,
                          const platform::ui::text_metrics& metrics);

} // namespace qv
