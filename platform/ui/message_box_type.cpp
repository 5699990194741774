#include "platform/ui/message_box_type.h"

namespace platform::ui {

std::uint32_t with_default_icon(std::uint32_t type) {
    if (type & mb::icon_mask)
        return type;
    switch (type & mb::buttons_mask) {
    case mb::ok:
    case mb::ok_cancel:
        return type | mb::icon_exclamation;
    case mb::yes_no_cancel:
    case mb::yes_no:
        return type | mb::icon_question;
    default:
        return type;
    }
}

std::uint32_t with_owner_reading_order(std::uint32_t type, owner_layout owner) {
    return owner == owner_layout::right_to_left ? type | mb::rtl_reading : type;
}

} // namespace platform::ui
