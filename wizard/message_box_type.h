#pragma once
// The message-box type rules the wizard applies; they live with the window model's message boxes.

#include "platform/ui/message_box_type.h"

namespace qv {

namespace mb = platform::ui::mb;
using platform::ui::owner_layout;
using platform::ui::with_default_icon;
using platform::ui::with_owner_reading_order;

} // namespace qv
