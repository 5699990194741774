#include "platform/framework/menu.h"

namespace platform::framework {

namespace ui = platform::ui;

bool CMenu::AppendMenu(std::uint32_t flags, std::uint32_t id, std::wstring_view text) {
    if (flags & MF_SEPARATOR)
        menu_.append_separator();
    else
        menu_.append(id, std::wstring(text));
    if (flags & (MF_GRAYED | MF_DISABLED))
        menu_.set_state(id, ui::menu_item_state::grayed);
    return true;
}

bool CMenu::DeleteMenu(std::uint32_t id, std::uint32_t) {
    return menu_.remove(id);
}

int CMenu::EnableMenuItem(std::uint32_t id, std::uint32_t enable) {
    const auto state = (enable & (MF_GRAYED | MF_DISABLED)) ? ui::menu_item_state::grayed
                                                            : ui::menu_item_state::enabled;
    const auto earlier = menu_.set_state(id, state);
    if (!earlier)
        return -1;
    return *earlier == ui::menu_item_state::grayed ? static_cast<int>(MF_GRAYED)
                                                   : static_cast<int>(MF_ENABLED);
}

bool CMenu::ModifyMenu(std::uint32_t id, std::uint32_t, std::uint32_t new_id,
                       std::wstring_view text) {
    return menu_.modify(id, new_id, std::wstring(text));
}

} // namespace platform::framework
